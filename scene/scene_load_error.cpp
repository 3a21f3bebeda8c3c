#include "scene/scene_load_error.h"

SceneLoadNotice NoticeOf(SceneLoadError error) {
  switch (error) {
    case SceneLoadError::None: break;
    case SceneLoadError::ArchiveUnreadable: return {"Can't open resource data file.", true};
    case SceneLoadError::PictureUnreadable: return {"Can't load pTexture.", true};
    case SceneLoadError::PictureMemory: return {"Can't allocate memory for texture.", true};
    case SceneLoadError::ShapeUnreadable: return {"Can't load 3D shape.", true};
    case SceneLoadError::StarsUnreadable: return {"Can't open stars data file.", true};
    case SceneLoadError::StarsMemory: return {"Can't allocate memory for stars data", false};
  }
  return {"", false};
}

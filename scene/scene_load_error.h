#pragma once
// Why the scene could not load what it draws. The scene shows nothing itself: loading hands
// the failure, with the archive's or the decoder's reason, to the host, which tells the user
// with the notice below and ends the run.
#include "base/result.h"

enum class SceneLoadError {
  None,               // loaded
  ArchiveUnreadable,  // the resource archive cannot be opened
  PictureUnreadable,  // a picture is missing or cannot be decoded
  PictureMemory,      // no memory for the clouds' inverted copy
  ShapeUnreadable,    // the moon's shape is missing, empty or refused
  StarsUnreadable,    // the star list is missing or empty
  StarsMemory,        // no memory for the star records
};
using SceneLoadResult = Result<SceneLoadError>;

// What the user is told of a failure: the text, and whether its box bears the stop icon.
struct SceneLoadNotice {
  const char* text;
  bool stopIcon;
};
SceneLoadNotice NoticeOf(SceneLoadError error);

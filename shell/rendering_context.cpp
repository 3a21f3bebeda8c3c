#include "shell/rendering_context.h"

namespace {

PIXELFORMATDESCRIPTOR RequestedPixelFormat() {
  PIXELFORMATDESCRIPTOR format{};
  format.nSize = sizeof(PIXELFORMATDESCRIPTOR);
  format.nVersion = 1;
  format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  format.iPixelType = PFD_TYPE_RGBA;
  format.cColorBits = 16;
  format.cDepthBits = 16;
  format.iLayerType = 1;
  return format;
}

}  // namespace

const char* RenderingContext::Create(HWND window) {
  window_ = window;
  deviceContext_ = GetDC(window);
  const PIXELFORMATDESCRIPTOR format = RequestedPixelFormat();
  const int pixelFormat = ChoosePixelFormat(deviceContext_, &format);
  if (pixelFormat == 0) return "Can't Find A Suitable PixelFormat.";
  if (!SetPixelFormat(deviceContext_, pixelFormat, &format)) return "Can't Set The PixelFormat.";
  HGLRC context = wglCreateContext(deviceContext_);
  if (!context) return "Can't Create A GL Rendering Context.";
  if (!wglMakeCurrent(deviceContext_, context)) {
    wglDeleteContext(context);
    return "Can't activate GLRC.";
  }
  context_ = context;
  return nullptr;
}

void RenderingContext::Release() {
  if (context_) {
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(context_);
    context_ = nullptr;
  }
  if (deviceContext_) ReleaseDC(window_, deviceContext_);
  deviceContext_ = nullptr;
}

#include "shell/rendering_context.h"

#include <cstring>
#include <string>

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

// wglGetProcAddress hands out every function as a PROC; the cast goes through the generic
// function type, which is how such pointers are meant to be converted.
template <typename Function>
Function ExtensionFunction(const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(wglGetProcAddress(name)));
}

Result<ContextError> Failed(ContextError step, const char* call) {
  return Result<ContextError>::Fail(step, std::string(call) + " failed, error " + std::to_string(GetLastError()));
}

}  // namespace

Result<ContextError> RenderingContext::Create(HWND window) {
  window_ = window;
  deviceContext_ = GetDC(window);
  const PIXELFORMATDESCRIPTOR format = RequestedPixelFormat();
  const int pixelFormat = ChoosePixelFormat(deviceContext_, &format);
  if (pixelFormat == 0) return Failed(ContextError::NoPixelFormat, "ChoosePixelFormat");
  if (!SetPixelFormat(deviceContext_, pixelFormat, &format))
    return Failed(ContextError::PixelFormatRefused, "SetPixelFormat");
  HGLRC context = wglCreateContext(deviceContext_);
  if (!context) return Failed(ContextError::NoContext, "wglCreateContext");
  if (!wglMakeCurrent(deviceContext_, context)) {
    const Result<ContextError> failed = Failed(ContextError::NotCurrent, "wglMakeCurrent");
    wglDeleteContext(context);
    return failed;
  }
  context_ = context;
  pixelFormat_ = pixelFormat;
  swapInterval_ = SwapInterval();
  if (swapInterval_) swapInterval_(1);  // once per refresh
  return Result<ContextError>::Ok();
}

RenderingContext::SwapIntervalFunction RenderingContext::SwapInterval() {
  // An extension function: looked up once the context is current, used only when offered.
  using ExtensionsString = const char*(WINAPI*)();
  const auto extensions = ExtensionFunction<ExtensionsString>("wglGetExtensionsStringEXT");
  const char* offered = extensions ? extensions() : nullptr;
  if (!offered || !std::strstr(offered, "WGL_EXT_swap_control")) return nullptr;
  return ExtensionFunction<SwapIntervalFunction>("wglSwapIntervalEXT");
}

HDC RenderingContext::Adopt(HWND window) const {
  if (!context_) return nullptr;
  HDC adopted = GetDC(window);
  PIXELFORMATDESCRIPTOR format{};
  if (adopted && DescribePixelFormat(adopted, pixelFormat_, sizeof format, &format) &&
      SetPixelFormat(adopted, pixelFormat_, &format))
    return adopted;
  if (adopted) ReleaseDC(window, adopted);
  return nullptr;
}

bool RenderingContext::DrawInto(HDC adopted) {
  if (!context_ || !wglMakeCurrent(adopted ? adopted : deviceContext_, context_)) return false;
  // The interval belongs to the drawable with some drivers and to the context with others:
  // set on every switch, it holds for the window being drawn either way.
  if (swapInterval_) swapInterval_(adopted ? 0 : 1);
  return true;
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

#include "screenshot.h"

#include <windows.h>

#include "unique_handle.h"

namespace {

// The screen's device context for the lifetime of the object.
class ScreenDc {
 public:
  ScreenDc() : dc_(GetDC(nullptr)) {}
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;
  ~ScreenDc() {
    if (dc_) ReleaseDC(nullptr, dc_);
  }
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

class MemoryDc {
 public:
  explicit MemoryDc(HDC like) : dc_(CreateCompatibleDC(like)) {}
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  ~MemoryDc() {
    if (dc_) DeleteDC(dc_);
  }
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

class GdiBitmap {
 public:
  explicit GdiBitmap(HBITMAP bitmap) : bitmap_(bitmap) {}
  GdiBitmap(const GdiBitmap&) = delete;
  GdiBitmap& operator=(const GdiBitmap&) = delete;
  ~GdiBitmap() {
    if (bitmap_) DeleteObject(bitmap_);
  }
  HBITMAP get() const { return bitmap_; }

 private:
  HBITMAP bitmap_;
};

bool WriteAll(HANDLE file, const void* data, DWORD size) {
  DWORD written = 0;
  return WriteFile(file, data, size, &written, nullptr) && written == size;
}

}  // namespace

bool SaveScreenshot(const std::wstring& path) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  ScreenDc screen;
  if (!screen.get() || width <= 0 || height <= 0) return false;
  MemoryDc memory(screen.get());
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up, as BMP files store rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  GdiBitmap bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!memory.get() || !bitmap.get() || !bits) return false;
  HGDIOBJ previous = SelectObject(memory.get(), bitmap.get());
  const bool copied = BitBlt(memory.get(), 0, 0, width, height, screen.get(), 0, 0, SRCCOPY) != 0;
  GdiFlush();
  SelectObject(memory.get(), previous);
  if (!copied) return false;

  const DWORD stride = ((static_cast<DWORD>(width) * 3 + 3) / 4) * 4;
  const DWORD imageSize = stride * static_cast<DWORD>(height);
  BITMAPFILEHEADER header = {};
  header.bfType = 0x4D42;  // "BM"
  header.bfOffBits = sizeof header + sizeof info.bmiHeader;
  header.bfSize = header.bfOffBits + imageSize;
  info.bmiHeader.biSizeImage = imageSize;
  UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  return file.valid() && WriteAll(file.get(), &header, sizeof header) &&
         WriteAll(file.get(), &info.bmiHeader, sizeof info.bmiHeader) && WriteAll(file.get(), bits, imageSize);
}

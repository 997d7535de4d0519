// Where the content test finds what the build made, and PNG reading for it.
#include "ContentFiles.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace content {

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

Picture::Picture(const std::filesystem::path& path) : m_Surface(cairo_image_surface_create_from_png(path.c_str())) {
    if (Loaded()) cairo_surface_flush(m_Surface.get());
}

int Picture::Width() const { return cairo_image_surface_get_width(m_Surface.get()); }
int Picture::Height() const { return cairo_image_surface_get_height(m_Surface.get()); }

uint32_t Picture::Pixel(int x, int y) const {
    const unsigned char* data = cairo_image_surface_get_data(m_Surface.get());
    const int stride = cairo_image_surface_get_stride(m_Surface.get());
    if (cairo_image_surface_get_format(m_Surface.get()) == CAIRO_FORMAT_RGB24)
        return 0xff000000u | reinterpret_cast<const uint32_t*>(data + y * stride)[x];
    return reinterpret_cast<const uint32_t*>(data + y * stride)[x];
}

int Picture::CountVisible(const assets::Rect& r, int minAlpha) const {
    int count = 0;
    for (int y = r.y; y < r.y + r.h; ++y)
        for (int x = r.x; x < r.x + r.w; ++x)
            if (Alpha(x, y) >= minAlpha) ++count;
    return count;
}

}  // namespace content

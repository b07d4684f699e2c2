// The lcd stand-in: a canvas of colour numbers, drawn on with "clear", "size" and "paintrect", made
// with the public API like any external's class.
//
// Colour numbers map through a fixed 256-colour palette, the classic 8-bit system palette:
//   0..214    a 6x6x6 colour cube running from white: colour i has
//             red = 255 - 51 * (i / 36), green = 255 - 51 * ((i / 6) % 6), blue = 255 - 51 * (i % 6),
//             so 0 is white and 214 is (0, 0, 51);
//   215..224  a red ramp, 225..234 a green ramp, 235..244 a blue ramp, 245..254 a grey ramp, each
//             running 0xEE, 0xDD, 0xBB, 0xAA, 0x88, 0x77, 0x55, 0x44, 0x22, 0x11;
//   255       black.
// Colour 0 (white) is the background that "clear" and "size" fill with.
#include "lcd.h"

#include "ext.h"
#include "ext_obex.h"
#include "ext_systhread.h"
#include "maxhost/runtime.h"

#if MAXSCRIPT_HAVE_LIBPNG
#include <png.h>
#else
#include <cstdint>
typedef uint32_t png_uint_32;
typedef unsigned char *png_bytep;
#endif

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace maxscript {
namespace {

const long kDefaultSize = 128;
const long kMaxSize = 4096;

struct t_lcd {
    t_object ob;
    long width;
    long height;
    unsigned char *pixels;  // width * height colour numbers, row by row
    bool painted;           // a paintrect has arrived since the lcd was made
    t_systhread_mutex mutex;  // drawing may arrive from the scheduler while the main thread reads
};

t_class *lcd_class = nullptr;

using maxhost::as_method;

std::array<unsigned char, 256 * 3> make_palette() {
    std::array<unsigned char, 256 * 3> p{};
    for (int i = 0; i < 215; ++i) {
        p[3 * i] = static_cast<unsigned char>(255 - 51 * (i / 36));
        p[3 * i + 1] = static_cast<unsigned char>(255 - 51 * ((i / 6) % 6));
        p[3 * i + 2] = static_cast<unsigned char>(255 - 51 * (i % 6));
    }
    const unsigned char ramp[10] = {0xEE, 0xDD, 0xBB, 0xAA, 0x88, 0x77, 0x55, 0x44, 0x22, 0x11};
    for (int k = 0; k < 10; ++k) {
        p[3 * (215 + k)] = ramp[k];      // red
        p[3 * (225 + k) + 1] = ramp[k];  // green
        p[3 * (235 + k) + 2] = ramp[k];  // blue
        for (int c = 0; c < 3; ++c) p[3 * (245 + k) + c] = ramp[k];  // grey
    }
    // 255 stays (0, 0, 0): black.
    return p;
}

const std::array<unsigned char, 256 * 3> kPalette = make_palette();

long clip(t_atom_long v, long lo, long hi) {
    if (v < lo) return lo;
    if (v > hi) return hi;
    return static_cast<long>(v);
}

bool all_numbers(long argc, const t_atom *argv) {
    for (long i = 0; i < argc; ++i) {
        long type = atom_gettype(&argv[i]);
        if (type != A_LONG && type != A_FLOAT) return false;
    }
    return true;
}

void *lcd_new(t_symbol *, long, t_atom *) {
    t_lcd *x = static_cast<t_lcd *>(object_alloc(lcd_class));
    if (!x) return nullptr;
    x->pixels = reinterpret_cast<unsigned char *>(sysmem_newptrclear(kDefaultSize * kDefaultSize));
    x->painted = false;
    if (!x->pixels) {
        object_free(x);
        return nullptr;
    }
    x->width = kDefaultSize;
    x->height = kDefaultSize;
    systhread_mutex_new(&x->mutex, 0);
    // Max's lcd has four outlets (mouse position, mouse position while dragging, mouse button, and
    // answers to queries); nothing clicks here, so they stay silent, but patches cord them as in Max.
    outlet_new(x, nullptr);
    intout(x);
    listout(x);
    listout(x);
    return x;
}

void lcd_free(t_lcd *x) {
    if (x->pixels) sysmem_freeptr(x->pixels);
    if (x->mutex) systhread_mutex_free(x->mutex);
}

void lcd_clear(t_lcd *x) {
    systhread_mutex_lock(x->mutex);
    std::memset(x->pixels, 0, static_cast<size_t>(x->width * x->height));
    systhread_mutex_unlock(x->mutex);
}

// Keeps the drawing where old and new canvas overlap; new area is background.
void lcd_size(t_lcd *x, t_symbol *, long argc, t_atom *argv) {
    if (argc < 2 || !all_numbers(2, argv)) return;
    long w = clip(atom_getlong(&argv[0]), 1, kMaxSize);
    long h = clip(atom_getlong(&argv[1]), 1, kMaxSize);
    unsigned char *pixels = reinterpret_cast<unsigned char *>(sysmem_newptrclear(static_cast<t_ptr_size>(w * h)));
    if (!pixels) return;
    systhread_mutex_lock(x->mutex);
    long keep_w = w < x->width ? w : x->width;
    long keep_h = h < x->height ? h : x->height;
    for (long row = 0; row < keep_h; ++row)
        std::memcpy(pixels + row * w, x->pixels + row * x->width, static_cast<size_t>(keep_w));
    unsigned char *old = x->pixels;
    x->pixels = pixels;
    x->width = w;
    x->height = h;
    systhread_mutex_unlock(x->mutex);
    sysmem_freeptr(old);
}

// paintrect left top right bottom [colour]: fills [left, right) x [top, bottom). Without a colour
// it paints black, the lcd's default pen.
void lcd_paintrect(t_lcd *x, t_symbol *, long argc, t_atom *argv) {
    if (argc < 4) return;
    long n = argc < 5 ? 4 : 5;
    if (!all_numbers(n, argv)) return;
    unsigned char colour = static_cast<unsigned char>(n == 5 ? clip(atom_getlong(&argv[4]), 0, 255) : 255);
    systhread_mutex_lock(x->mutex);
    x->painted = true;
    long left = clip(atom_getlong(&argv[0]), 0, x->width);
    long top = clip(atom_getlong(&argv[1]), 0, x->height);
    long right = clip(atom_getlong(&argv[2]), 0, x->width);
    long bottom = clip(atom_getlong(&argv[3]), 0, x->height);
    if (left < right) {
        for (long row = top; row < bottom; ++row)
            std::memset(x->pixels + row * x->width + left, colour, static_cast<size_t>(right - left));
    }
    systhread_mutex_unlock(x->mutex);
}

#if MAXSCRIPT_HAVE_LIBPNG
// libpng reports errors by longjmp, so this function keeps only plain locals.
bool write_rgb_png(FILE *fp, png_uint_32 width, png_uint_32 height, png_bytep *rows) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, fp);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}
#else
// Without libpng (the Windows build): the same image in stored (uncompressed) deflate blocks.
void put_u32(std::vector<unsigned char> &out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<unsigned char>(v >> shift));
}

uint32_t crc32_of(const unsigned char *p, size_t n) {
    uint32_t c = 0xffffffffu;
    for (size_t i = 0; i < n; ++i) {
        c ^= p[i];
        for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xedb88320u & (0u - (c & 1u)));
    }
    return c ^ 0xffffffffu;
}

void put_chunk(std::vector<unsigned char> &out, const char *type, const std::vector<unsigned char> &data) {
    put_u32(out, static_cast<uint32_t>(data.size()));
    size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    put_u32(out, crc32_of(&out[start], out.size() - start));
}

bool write_rgb_png(FILE *fp, png_uint_32 width, png_uint_32 height, png_bytep *rows) {
    std::vector<unsigned char> raw;  // each row starts with filter type 0
    for (png_uint_32 r = 0; r < height; ++r) {
        raw.push_back(0);
        raw.insert(raw.end(), rows[r], rows[r] + 3 * static_cast<size_t>(width));
    }
    std::vector<unsigned char> z = {0x78, 0x01};
    uint32_t a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521u;
        b = (b + a) % 65521u;
    }
    for (size_t at = 0; at == 0 || at < raw.size();) {
        size_t n = std::min<size_t>(65535, raw.size() - at);
        z.push_back(at + n == raw.size() ? 1 : 0);
        z.push_back(static_cast<unsigned char>(n));
        z.push_back(static_cast<unsigned char>(n >> 8));
        z.push_back(static_cast<unsigned char>(~n));
        z.push_back(static_cast<unsigned char>(~n >> 8));
        z.insert(z.end(), raw.begin() + static_cast<long>(at), raw.begin() + static_cast<long>(at + n));
        at += n;
        if (n == 0) break;
    }
    put_u32(z, (b << 16) | a);
    std::vector<unsigned char> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    std::vector<unsigned char> ihdr;
    put_u32(ihdr, width);
    put_u32(ihdr, height);
    ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, no interlace
    put_chunk(out, "IHDR", ihdr);
    put_chunk(out, "IDAT", z);
    put_chunk(out, "IEND", {});
    return std::fwrite(out.data(), 1, out.size(), fp) == out.size();
}
#endif

}  // namespace

void lcd_setup() {
    t_class *c = class_new("lcd", as_method(lcd_new), as_method(lcd_free),
                           static_cast<long>(sizeof(t_lcd)), nullptr, A_GIMME, 0);
    class_addmethod(c, as_method(lcd_clear), "clear", 0);
    class_addmethod(c, as_method(lcd_size), "size", A_GIMME, 0);
    class_addmethod(c, as_method(lcd_paintrect), "paintrect", A_GIMME, 0);
    class_register(CLASS_BOX, c);
    lcd_class = c;
}

bool is_lcd(t_object *x) {
    return x && lcd_class && object_classname(x) == gensym("lcd");
}

bool lcd_painted(t_object *x) {
    if (!is_lcd(x)) return false;
    t_lcd *lcd = reinterpret_cast<t_lcd *>(x);
    systhread_mutex_lock(lcd->mutex);
    bool painted = lcd->painted;
    systhread_mutex_unlock(lcd->mutex);
    return painted;
}

const unsigned char *palette() {
    return kPalette.data();
}

bool lcd_write_png(t_object *object, const std::string &path, std::string *error) {
    if (!is_lcd(object)) {
        if (error) *error = "not an lcd";
        return false;
    }
    t_lcd *x = reinterpret_cast<t_lcd *>(object);
    systhread_mutex_lock(x->mutex);
    long width = x->width;
    long height = x->height;
    std::vector<unsigned char> rgb(static_cast<size_t>(width * height * 3));
    for (long i = 0; i < width * height; ++i)
        std::memcpy(&rgb[static_cast<size_t>(3 * i)], &kPalette[3 * static_cast<size_t>(x->pixels[i])], 3);
    systhread_mutex_unlock(x->mutex);

    std::vector<png_bytep> rows(static_cast<size_t>(height));
    for (long row = 0; row < height; ++row) rows[static_cast<size_t>(row)] = &rgb[static_cast<size_t>(row * width * 3)];

    FILE *fp = std::fopen(path.c_str(), "wb");
    if (!fp) {
        if (error) *error = std::string("cannot open ") + path + ": " + std::strerror(errno);
        return false;
    }
    bool ok = write_rgb_png(fp, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), rows.data());
    if (std::fclose(fp) != 0) ok = false;
    if (!ok) {
        std::remove(path.c_str());
        if (error) *error = "cannot write " + path;
    }
    return ok;
}

}  // namespace maxscript

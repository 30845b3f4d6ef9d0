// orvale-fontstrip: renders the printable ASCII glyphs (codes 32..127) of a
// TrueType/OpenType font into one horizontal strip of square cells, as the
// game's proportional text printer expects: cell n holds code n + 32, the
// glyph sits against the left edge of its cell, the background is fully
// transparent and every glyph has a dark outline around a light fill, so it
// reads on any picture and never shows as pure white.
//
//   orvale-fontstrip <font file> <cell size> <output.png> [options]
//     --size <px>       pixel size of the face (default: largest that fits)
//     --outline <px>    outline radius, 0 for none (default 1)
//     --fill RRGGBB     fill colour (default fff2d0)
//     --ink RRGGBB      outline colour (default 2a170b)
//     --gap <px>        blank columns left of each glyph's ink (default 1)
//     --widen <f>       horizontal stretch of the glyphs, 0.5..2 (default 1)
//     --shadow          a dark drop shadow one pixel right and down in place
//                       of the outline (for small cells)
//     --bold <px>       strokes thickened by this many pixels, 0..2 (default 0)
//
// The printer measures a glyph's advance as its rightmost ink column + 2
// (twice that column + 2 on the half-size strip), and needs it below 20; the
// tool squeezes any glyph that would reach further horizontally. The face
// size is the largest at which letters, digits and text punctuation fit the
// cell height; taller signs are squashed to fit.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kFirstCode = 32;
constexpr int kGlyphCount = 96;

struct Options {
  std::string fontFile;
  std::string outFile;
  int cell = 0;
  int size = 0;
  int outline = 1;
  int gap = 1;
  bool shadow = false;
  float widen = 1.0f;
  float bold = 0.0f;
  uint32_t fill = 0xfff2d0;
  uint32_t ink = 0x2a170b;
};

struct Coverage {
  int width = 0;
  int height = 0;
  std::vector<float> value;  // 0..1, row-major
  float At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return 0.0f;
    return value[size_t(y) * width + x];
  }
};

bool ParseColour(const char* text, uint32_t* out) {
  char* end = nullptr;
  unsigned long v = std::strtoul(text, &end, 16);
  if (!end || *end != '\0' || std::strlen(text) != 6) return false;
  *out = uint32_t(v);
  return true;
}

bool ParseInt(const char* text, int lo, int hi, int* out) {
  char* end = nullptr;
  long v = std::strtol(text, &end, 10);
  if (!end || *end != '\0' || v < lo || v > hi) return false;
  *out = int(v);
  return true;
}

bool ParseFactor(const char* text, float lo, float hi, float* out) {
  char* end = nullptr;
  float v = std::strtof(text, &end);
  if (!end || *end != '\0' || !(v >= lo && v <= hi)) return false;
  *out = v;
  return true;
}

void Usage() {
  std::fprintf(stderr,
               "usage: orvale-fontstrip <font file> <cell size 6..64> <output.png>\n"
               "       [--size px] [--outline px] [--gap px] [--widen f] [--bold px] [--shadow]\n"
               "       [--fill RRGGBB] [--ink RRGGBB]\n");
}

bool ParseArgs(int argc, char** argv, Options* o) {
  std::vector<std::string> plain;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--shadow") {
      o->shadow = true;
      o->outline = 0;
      continue;
    }
    if (a.rfind("--", 0) == 0) {
      if (i + 1 >= argc) return false;
      const char* v = argv[++i];
      bool ok = false;
      if (a == "--size") ok = ParseInt(v, 4, 256, &o->size);
      else if (a == "--outline") ok = ParseInt(v, 0, 3, &o->outline);
      else if (a == "--gap") ok = ParseInt(v, 0, 4, &o->gap);
      else if (a == "--widen") ok = ParseFactor(v, 0.5f, 2.0f, &o->widen);
      else if (a == "--bold") ok = ParseFactor(v, 0.0f, 2.0f, &o->bold);
      else if (a == "--fill") ok = ParseColour(v, &o->fill);
      else if (a == "--ink") ok = ParseColour(v, &o->ink);
      if (!ok) {
        std::fprintf(stderr, "orvale-fontstrip: bad value for %s: %s\n", a.c_str(), v);
        return false;
      }
    } else {
      plain.push_back(a);
    }
  }
  if (plain.size() != 3) return false;
  o->fontFile = plain[0];
  o->outFile = plain[2];
  if (!ParseInt(plain[1].c_str(), 6, 64, &o->cell)) {
    std::fprintf(stderr, "orvale-fontstrip: bad cell size: %s\n", plain[1].c_str());
    return false;
  }
  return true;
}

// Rightmost column a glyph's ink may reach so that the measured advance stays
// below 20 in the game's 640-wide space (the half-size strip counts double).
int MaxInkColumn(int cell) {
  int scale = cell >= 20 ? 1 : (20 + cell - 1) / cell;
  int col = (20 - 3) / scale;
  return std::min(col, cell - 1);
}

// Renders one character as anti-aliased coverage, with its bitmap origin;
// bold thickens the strokes by that many pixels (half as much in height).
bool RenderChar(FT_Face face, unsigned code, float squeeze, float bold, Coverage* cov, int* left, int* top,
                float squash = 1.0f) {
  FT_Matrix m;
  m.xx = FT_Fixed(squeeze * 65536.0f);
  m.xy = 0;
  m.yx = 0;
  m.yy = FT_Fixed(squash * 65536.0f);
  FT_Set_Transform(face, &m, nullptr);
  if (FT_Load_Char(face, code, FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_LIGHT)) return false;
  if (bold > 0.0f && face->glyph->format == FT_GLYPH_FORMAT_OUTLINE)
    FT_Outline_EmboldenXY(&face->glyph->outline, FT_Pos(bold * 64.0f), FT_Pos(bold * 32.0f));
  if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_LIGHT)) return false;
  FT_GlyphSlot g = face->glyph;
  const FT_Bitmap& bm = g->bitmap;
  cov->width = int(bm.width);
  cov->height = int(bm.rows);
  cov->value.assign(size_t(cov->width) * cov->height, 0.0f);
  for (int y = 0; y < cov->height; ++y) {
    const unsigned char* row = bm.buffer + ptrdiff_t(y) * bm.pitch;
    for (int x = 0; x < cov->width; ++x) {
      float v = 0.0f;
      if (bm.pixel_mode == FT_PIXEL_MODE_GRAY) v = row[x] / 255.0f;
      else if (bm.pixel_mode == FT_PIXEL_MODE_MONO) v = (row[x >> 3] & (0x80 >> (x & 7))) ? 1.0f : 0.0f;
      cov->value[size_t(y) * cov->width + x] = v;
    }
  }
  *left = g->bitmap_left;
  *top = g->bitmap_top;
  return true;
}

// Characters whose ink sets the face size: letters, digits and the common
// punctuation of running text. Taller signs (brackets, bars, '@', '$') are
// squashed to the cell height rather than shrinking every letter.
bool SetsFaceSize(unsigned code) {
  return (code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z') || (code >= 'a' && code <= 'z') ||
         std::strchr(".,;:!?'\"-", int(code)) != nullptr;
}

// Ink extent of the text characters at a pixel size: the highest top and
// the lowest bottom relative to the baseline.
void MeasureFace(FT_Face face, float bold, int* maxTop, int* maxBottom) {
  *maxTop = 0;
  *maxBottom = 0;
  for (unsigned code = 33; code < 127; ++code) {
    if (!SetsFaceSize(code)) continue;
    Coverage c;
    int left = 0, top = 0;
    if (!RenderChar(face, code, 1.0f, bold, &c, &left, &top) || c.height == 0) continue;
    *maxTop = std::max(*maxTop, top);
    *maxBottom = std::max(*maxBottom, c.height - top);
  }
}

// A small lozenge for code 127, which fonts leave without a glyph.
Coverage Lozenge(int cell) {
  Coverage c;
  int s = std::max(3, cell / 3) | 1;
  c.width = s;
  c.height = s;
  c.value.assign(size_t(s) * s, 0.0f);
  float r = s / 2.0f;
  for (int y = 0; y < s; ++y)
    for (int x = 0; x < s; ++x) {
      float d = std::fabs(x + 0.5f - r) + std::fabs(y + 0.5f - r);
      c.value[size_t(y) * s + x] = std::clamp(r - d + 0.5f, 0.0f, 1.0f);
    }
  return c;
}

struct Strip {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgba;
};

// Places a glyph's coverage into its cell with outline and fill colours.
// Alpha is kept binary because sprites are drawn with an alpha test and no
// blending: a pixel is either part of the glyph or fully transparent.
void PlaceGlyph(const Options& o, const Coverage& cov, int cellIndex, int x0, int y0, Strip* strip) {
  const int c = o.cell;
  const int r = o.outline;
  const float fr = float(o.fill >> 16 & 255), fg = float(o.fill >> 8 & 255), fb = float(o.fill & 255);
  const float ir = float(o.ink >> 16 & 255), ig = float(o.ink >> 8 & 255), ib = float(o.ink & 255);
  for (int y = 0; y < c; ++y) {
    for (int x = 0; x < c; ++x) {
      int gx = x - x0, gy = y - y0;
      float fill = cov.At(gx, gy);
      float edge = fill;
      for (int dy = -r; dy <= r; ++dy)
        for (int dx = -r; dx <= r; ++dx) {
          if (dx * dx + dy * dy > r * r + r) continue;
          edge = std::max(edge, cov.At(gx + dx, gy + dy));
        }
      uint8_t* p = &strip->rgba[(size_t(y) * strip->width + size_t(cellIndex) * c + x) * 4];
      if (o.shadow) {
        float shade = cov.At(gx - 1, gy - 1);
        if (fill < 0.35f && shade < 0.35f) continue;
        float t = fill >= 0.35f ? 1.0f : 0.0f;
        p[0] = uint8_t(ir + (fr - ir) * t + 0.5f);
        p[1] = uint8_t(ig + (fg - ig) * t + 0.5f);
        p[2] = uint8_t(ib + (fb - ib) * t + 0.5f);
        p[3] = 255;
        continue;
      }
      if (r == 0) {
        if (fill < 0.25f) continue;
        p[0] = uint8_t(ir + 0.5f);
        p[1] = uint8_t(ig + 0.5f);
        p[2] = uint8_t(ib + 0.5f);
        p[3] = 255;
        continue;
      }
      if (edge < 0.3f) continue;
      float t = std::clamp((fill - 0.12f) / 0.2f, 0.0f, 1.0f);
      p[0] = uint8_t(ir + (fr - ir) * t + 0.5f);
      p[1] = uint8_t(ig + (fg - ig) * t + 0.5f);
      p[2] = uint8_t(ib + (fb - ib) * t + 0.5f);
      p[3] = 255;
    }
  }
}

// Moves a placed glyph left so that its first inked column (outline or
// shadow included) is column `gap` of its cell: faint anti-aliased edges
// and left bearings leave no blank columns before the glyph.
void AlignLeft(int gap, int cellIndex, int cell, Strip* strip) {
  auto px = [&](int x, int y) { return &strip->rgba[(size_t(y) * strip->width + size_t(cellIndex) * cell + x) * 4]; };
  int first = cell;
  for (int y = 0; y < cell; ++y)
    for (int x = 0; x < first; ++x)
      if (px(x, y)[3] != 0) first = x;
  const int shift = first - gap;
  if (first == cell || shift <= 0) return;
  for (int y = 0; y < cell; ++y)
    for (int x = 0; x < cell; ++x) {
      uint8_t* dst = px(x, y);
      if (x + shift < cell)
        std::memcpy(dst, px(x + shift, y), 4);
      else
        std::memset(dst, 0, 4);
    }
}

bool WritePng(const std::string& file, const Strip& s) {
  FILE* f = std::fopen(file.c_str(), "wb");
  if (!f) {
    std::fprintf(stderr, "orvale-fontstrip: cannot create %s\n", file.c_str());
    return false;
  }
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!png || !info) {
    png_destroy_write_struct(&png, &info);
    std::fclose(f);
    std::remove(file.c_str());
    return false;
  }
  std::vector<png_bytep> rows(size_t(s.height));
  for (int y = 0; y < s.height; ++y)
    rows[size_t(y)] = const_cast<png_bytep>(&s.rgba[size_t(y) * s.width * 4]);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(f);
    std::remove(file.c_str());
    std::fprintf(stderr, "orvale-fontstrip: writing %s failed\n", file.c_str());
    return false;
  }
  png_init_io(png, f);
  png_set_IHDR(png, info, png_uint_32(s.width), png_uint_32(s.height), 8, PNG_COLOR_TYPE_RGB_ALPHA,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  if (std::fclose(f) != 0) {
    std::remove(file.c_str());
    std::fprintf(stderr, "orvale-fontstrip: writing %s failed\n", file.c_str());
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (!ParseArgs(argc, argv, &o)) {
    Usage();
    return 2;
  }
  FT_Library lib = nullptr;
  if (FT_Init_FreeType(&lib)) {
    std::fprintf(stderr, "orvale-fontstrip: FreeType did not start\n");
    return 1;
  }
  FT_Face face = nullptr;
  if (FT_New_Face(lib, o.fontFile.c_str(), 0, &face)) {
    std::fprintf(stderr, "orvale-fontstrip: cannot open font %s\n", o.fontFile.c_str());
    FT_Done_FreeType(lib);
    return 1;
  }

  // Largest pixel size whose glyphs, with the outline, fit the cell height.
  const int room = o.cell - 2 * o.outline - (o.shadow ? 1 : 0);
  int size = o.size ? o.size : o.cell * 2;
  int maxTop = 0, maxBottom = 0;
  for (;; --size) {
    if (size < 4 || FT_Set_Pixel_Sizes(face, 0, FT_UInt(size))) {
      std::fprintf(stderr, "orvale-fontstrip: no usable size of %s for cell %d\n", o.fontFile.c_str(), o.cell);
      FT_Done_Face(face);
      FT_Done_FreeType(lib);
      return 1;
    }
    MeasureFace(face, o.bold, &maxTop, &maxBottom);
    if (o.size || maxTop + maxBottom <= room) break;
  }
  const int baseline = o.outline + maxTop + (room - maxTop - maxBottom) / 2;

  Strip strip;
  strip.width = o.cell * kGlyphCount;
  strip.height = o.cell;
  strip.rgba.assign(size_t(strip.width) * strip.height * 4, 0);

  const int maxCol = MaxInkColumn(o.cell);
  const int x0 = o.outline + o.gap;
  for (int i = 1; i < kGlyphCount; ++i) {
    unsigned code = unsigned(kFirstCode + i);
    Coverage cov;
    int left = 0, top = 0;
    int gx = x0, gy = 0;
    if (code == 127) {
      cov = Lozenge(o.cell);
      gy = baseline - (maxTop * 2) / 3;
    } else {
      float squeeze = o.widen;
      float squash = 1.0f;
      for (int attempt = 0; attempt < 8; ++attempt) {
        if (!RenderChar(face, code, squeeze, o.bold, &cov, &left, &top, squash)) {
          std::fprintf(stderr, "orvale-fontstrip: font has no glyph for code %u\n", code);
          FT_Done_Face(face);
          FT_Done_FreeType(lib);
          return 1;
        }
        // Left bearings are dropped: the cell's left edge counts into the advance.
        int right = x0 + cov.width - 1 + o.outline + (o.shadow ? 1 : 0);
        bool tooTall = cov.height > room;
        if ((right <= maxCol && !tooTall) || cov.width == 0) break;
        if (right > maxCol) {
          int allowed = maxCol - x0 - o.outline + 1;
          squeeze *= float(allowed) / float(cov.width) * 0.98f;
        }
        if (tooTall) squash *= float(room) / float(cov.height) * 0.98f;
      }
      gy = baseline - top;
      if (gy < o.outline) gy = o.outline;
      const int below = o.outline + (o.shadow ? 1 : 0);
      if (gy + cov.height + below > o.cell) gy = std::max(0, o.cell - below - cov.height);
    }
    if (cov.width == 0 || cov.height == 0) {
      std::fprintf(stderr, "orvale-fontstrip: glyph for code %u is empty\n", code);
      FT_Done_Face(face);
      FT_Done_FreeType(lib);
      return 1;
    }
    PlaceGlyph(o, cov, i, gx, gy, &strip);
    AlignLeft(o.gap, i, o.cell, &strip);
  }
  FT_Done_Face(face);
  FT_Done_FreeType(lib);
  return WritePng(o.outFile, strip) ? 0 : 1;
}

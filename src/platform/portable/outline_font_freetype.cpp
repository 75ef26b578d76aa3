// Outline fonts over FreeType, the same on every system: the face read from the font file's
// bytes, and its glyphs flattened here into GL display lists in wglUseFontOutlinesA's lines
// format. Left out: the polygon format and the glyph metrics that the Windows call can also
// give; the show asks for lines only.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "platform/outline_font.h"
#include "platform/portable/freetype_font.h"

namespace {

struct Point {
    double x, y;
};
using Contour = std::vector<Point>;

// A curve is cut into pieces of equal parameter length; n pieces shrink the distance
// between curve and chord by n squared.
constexpr int kMaxCurvePieces = 1024;

int CurvePieces(double bound, double tolerance) {
    // Clamped before the conversion: a tiny tolerance asks for more pieces than an int holds.
    const double pieces = std::ceil(std::sqrt(bound / tolerance));
    return static_cast<int>(std::clamp(pieces, 1.0, static_cast<double>(kMaxCurvePieces)));
}

struct Flattener {
    std::vector<Contour> contours;
    Point pen{0.0, 0.0};
    double tolerance = 1.0;  // design units

    void LineTo(Point p) {
        contours.back().push_back(p);
        pen = p;
    }
};

Point ToPoint(const FT_Vector* v) {
    return {static_cast<double>(v->x), static_cast<double>(v->y)};
}

int MoveTo(const FT_Vector* to, void* user) {
    auto* f = static_cast<Flattener*>(user);
    f->contours.emplace_back();
    f->contours.back().push_back(ToPoint(to));
    f->pen = ToPoint(to);
    return 0;
}

int LineTo(const FT_Vector* to, void* user) {
    static_cast<Flattener*>(user)->LineTo(ToPoint(to));
    return 0;
}

int ConicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
    auto* f = static_cast<Flattener*>(user);
    const Point p0 = f->pen, p1 = ToPoint(control), p2 = ToPoint(to);
    // A quadratic strays at most |p0 - 2 p1 + p2| / 4 from its chord.
    const double bound = std::hypot(p0.x - 2 * p1.x + p2.x, p0.y - 2 * p1.y + p2.y) / 4.0;
    const int n = CurvePieces(bound, f->tolerance);
    for (int i = 1; i <= n; ++i) {
        const double t = static_cast<double>(i) / n, u = 1.0 - t;
        f->LineTo({u * u * p0.x + 2 * u * t * p1.x + t * t * p2.x,
                   u * u * p0.y + 2 * u * t * p1.y + t * t * p2.y});
    }
    return 0;
}

int CubicTo(const FT_Vector* control1, const FT_Vector* control2, const FT_Vector* to, void* user) {
    auto* f = static_cast<Flattener*>(user);
    const Point p0 = f->pen, p1 = ToPoint(control1), p2 = ToPoint(control2), p3 = ToPoint(to);
    // A cubic strays at most 3/4 of its larger second difference from its chord.
    const double d1 = std::hypot(p0.x - 2 * p1.x + p2.x, p0.y - 2 * p1.y + p2.y);
    const double d2 = std::hypot(p1.x - 2 * p2.x + p3.x, p1.y - 2 * p2.y + p3.y);
    const int n = CurvePieces(0.75 * std::max(d1, d2), f->tolerance);
    for (int i = 1; i <= n; ++i) {
        const double t = static_cast<double>(i) / n, u = 1.0 - t;
        f->LineTo(
            {u * u * u * p0.x + 3 * u * u * t * p1.x + 3 * u * t * t * p2.x + t * t * t * p3.x,
             u * u * u * p0.y + 3 * u * u * t * p1.y + 3 * u * t * t * p2.y + t * t * t * p3.y});
    }
    return 0;
}

// FreeType closes every contour by returning to its first point; the loop closes it anyway.
void DropClosingPoints(std::vector<Contour>& contours) {
    for (Contour& c : contours) {
        if (c.size() > 1 && c.back().x == c.front().x && c.back().y == c.front().y) {
            c.pop_back();
        }
    }
}

void EmitLoop(const Contour& contour, double scale, float z) {
    glBegin(GL_LINE_LOOP);
    for (const Point& p : contour) {
        glVertex3f(static_cast<float>(p.x * scale), static_cast<float>(p.y * scale), z);
    }
    glEnd();
}

void EmitEdges(const Contour& contour, double scale, float extrusion) {
    glBegin(GL_LINES);
    for (const Point& p : contour) {
        const float x = static_cast<float>(p.x * scale), y = static_cast<float>(p.y * scale);
        glVertex3f(x, y, 0.0f);
        glVertex3f(x, y, -extrusion);
    }
    glEnd();
}

void EmitGlyph(const std::vector<Contour>& contours, double scale, float extrusion) {
    for (const Contour& contour : contours) {
        EmitLoop(contour, scale, 0.0f);
        if (extrusion == 0.0f) continue;
        EmitLoop(contour, scale, -extrusion);
        EmitEdges(contour, scale, extrusion);
    }
}

// The glyph's contours in design units, and its advance; false for a code without a glyph.
bool FlattenGlyph(FT_Face face, unsigned long code, double tolerance, Flattener& out,
                  double& advance) {
    const FT_UInt index = FT_Get_Char_Index(face, code);
    if (index == 0) return false;
    if (FT_Load_Glyph(face, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP)) {
        return false;
    }
    advance = static_cast<double>(face->glyph->advance.x);
    if (face->glyph->format != FT_GLYPH_FORMAT_OUTLINE) return true;
    static const FT_Outline_Funcs funcs = {MoveTo, LineTo, ConicTo, CubicTo, 0, 0};
    out.tolerance = tolerance;
    FT_Outline_Decompose(&face->glyph->outline, &funcs, &out);
    DropClosingPoints(out.contours);
    return true;
}

}  // namespace

OutlineFont* OpenFreeTypeFont(std::string family, std::vector<unsigned char> fileBytes, int index) {
    auto* font = new OutlineFont;
    font->family = std::move(family);
    font->fileBytes = std::move(fileBytes);
    const bool opened =
        !font->fileBytes.empty() && FT_Init_FreeType(&font->library) == 0 &&
        FT_New_Memory_Face(font->library, font->fileBytes.data(),
                           static_cast<FT_Long>(font->fileBytes.size()), index, &font->face) == 0;
    if (!opened || !FT_IS_SCALABLE(font->face) || font->face->units_per_EM == 0) {
        DestroyOutlineFont(font);
        return nullptr;
    }
    FT_Select_Charmap(font->face, FT_ENCODING_UNICODE);
    return font;
}

void DestroyOutlineFont(OutlineFont* font) {
    if (font == nullptr) return;
    if (font->face != nullptr) FT_Done_Face(font->face);
    if (font->library != nullptr) FT_Done_FreeType(font->library);
    delete font;
}

std::string OutlineFontFamily(const OutlineFont* font) {
    return font != nullptr ? font->family : std::string();
}

bool UseFontOutlines(const OutlineFont* font, int first, int count, unsigned listBase,
                     float deviation, float extrusion) {
    if (font == nullptr || listBase == 0) return false;
    const double unitsPerEm = font->face->units_per_EM;
    const double scale = 1.0 / unitsPerEm;
    const double tolerance = deviation > 0.0f ? deviation * unitsPerEm : 1.0;
    for (int i = 0; i < count; ++i) {
        Flattener glyph;
        double advance = 0.0;
        const bool drawn = FlattenGlyph(font->face, static_cast<unsigned long>(first + i),
                                        tolerance, glyph, advance);
        glNewList(listBase + static_cast<unsigned>(i), GL_COMPILE);
        if (drawn) {
            EmitGlyph(glyph.contours, scale, extrusion);
            glTranslatef(static_cast<float>(advance * scale), 0.0f, 0.0f);
        }
        glEndList();
    }
    return true;
}

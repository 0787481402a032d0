#include "platform/gdi/pdf_device.h"

#include <cairo-ft.h>
#include <cairo-pdf.h>
#include <cairo.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <map>

namespace win::gdi {
namespace {

void setColour(cairo_t* cr, COLORREF c) {
    cairo_set_source_rgb(cr, GetRValue(c) / 255.0, GetGValue(c) / 255.0, GetBValue(c) / 255.0);
}

// Font faces for cairo are opened apart from the raster engine's, as cairo
// sets the size of the faces it is given.
cairo_font_face_t* cairoFace(const std::string& file, int index) {
    static FT_Library lib = [] {
        FT_Library l = nullptr;
        FT_Init_FreeType(&l);
        return l;
    }();
    static std::map<std::pair<std::string, int>, cairo_font_face_t*> faces;
    const auto key = std::make_pair(file, index);
    if (auto it = faces.find(key); it != faces.end()) return it->second;
    FT_Face face = nullptr;
    if (!lib || FT_New_Face(lib, file.c_str(), index, &face) != 0) return nullptr;
    cairo_font_face_t* cf = cairo_ft_font_face_create_for_ft_face(face, 0);
    static const cairo_user_data_key_t owner{};
    cairo_font_face_set_user_data(cf, &owner, face,
                                  [](void* f) { FT_Done_Face(static_cast<FT_Face>(f)); });
    faces[key] = cf;
    return cf;
}

class CairoDevice final : public VectorDevice {
  public:
    CairoDevice(cairo_t* cr, int dpi) : cr_(cr), scale_(72.0 / dpi) {}

    void begin() {
        cairo_identity_matrix(cr_);
        cairo_scale(cr_, scale_, scale_);
        cairo_reset_clip(cr_);
    }

    void clip(const std::optional<Region>& region) override {
        cairo_reset_clip(cr_);
        if (!region) return;
        cairo_new_path(cr_);
        for (const Band& b : region->bands())
            for (const Span& s : b.spans)
                cairo_rectangle(cr_, s.x0, b.y0, s.x1 - s.x0, b.y1 - b.y0);
        cairo_clip(cr_);
    }

    void fill(const std::vector<PointD>& pts, const std::vector<int>& counts, bool winding,
              COLORREF color) override {
        path(pts, counts);
        cairo_set_fill_rule(cr_, winding ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD);
        setColour(cr_, color);
        cairo_fill(cr_);
    }

    void path(const std::vector<PointD>& pts, const std::vector<int>& counts) {
        cairo_new_path(cr_);
        std::size_t at = 0;
        for (int n : counts) {
            for (int i = 0; i < n; ++i) {
                const PointD& p = pts[at + static_cast<std::size_t>(i)];
                if (i == 0)
                    cairo_move_to(cr_, p.x, p.y);
                else
                    cairo_line_to(cr_, p.x, p.y);
            }
            cairo_close_path(cr_);
            at += static_cast<std::size_t>(n);
        }
    }

    void fillPattern(const std::vector<PointD>& pts, const std::vector<int>& counts, bool winding,
                     const Paint& paint) override {
        // The brush's tile, drawn as large on paper as it looks on the screen.
        const int tw =
            paint.kind == Paint::Kind::Pattern && paint.pattern ? paint.pattern->width : 8;
        const int th =
            paint.kind == Paint::Kind::Pattern && paint.pattern ? paint.pattern->height : 8;
        if (tw <= 0 || th <= 0) return;
        cairo_surface_t* tile = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, tw, th);
        cairo_surface_flush(tile);
        unsigned char* data = cairo_image_surface_get_data(tile);
        const int stride = cairo_image_surface_get_stride(tile);
        for (int y = 0; y < th; ++y) {
            auto* row =
                reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
            for (int x = 0; x < tw; ++x) {
                std::uint32_t c;
                row[x] = paint.sourceAt(x + paint.orgX, y + paint.orgY, c)
                             ? (0xFF000000u | (c & 0xFFFFFF))
                             : 0;
            }
        }
        cairo_surface_mark_dirty(tile);
        cairo_pattern_t* pattern = cairo_pattern_create_for_surface(tile);
        cairo_pattern_set_extend(pattern, CAIRO_EXTEND_REPEAT);
        cairo_pattern_set_filter(pattern, CAIRO_FILTER_NEAREST);
        cairo_matrix_t m;
        const double grow = 1 / (scale_ * 96.0 / 72.0);  // device pixels per screen pixel
        cairo_matrix_init_scale(&m, 1 / grow, 1 / grow);
        cairo_pattern_set_matrix(pattern, &m);
        path(pts, counts);
        cairo_set_fill_rule(cr_, winding ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD);
        cairo_set_source(cr_, pattern);
        cairo_fill(cr_);
        cairo_pattern_destroy(pattern);
        cairo_surface_destroy(tile);
    }

    void stroke(const std::vector<PointD>& pts, bool closed, double width,
                const std::vector<double>& dashes, int endCap, int join, COLORREF color) override {
        cairo_new_path(cr_);
        // Pixel centres: a one-pixel line at y covers the row y.
        for (std::size_t i = 0; i < pts.size(); ++i) {
            if (i == 0)
                cairo_move_to(cr_, pts[i].x + 0.5, pts[i].y + 0.5);
            else
                cairo_line_to(cr_, pts[i].x + 0.5, pts[i].y + 0.5);
        }
        if (closed) cairo_close_path(cr_);
        cairo_set_line_width(cr_, width);
        cairo_set_line_cap(cr_, endCap == PS_ENDCAP_SQUARE ? CAIRO_LINE_CAP_SQUARE
                                : endCap == PS_ENDCAP_FLAT ? CAIRO_LINE_CAP_BUTT
                                                           : CAIRO_LINE_CAP_ROUND);
        cairo_set_line_join(cr_, join == PS_JOIN_BEVEL   ? CAIRO_LINE_JOIN_BEVEL
                                 : join == PS_JOIN_MITER ? CAIRO_LINE_JOIN_MITER
                                                         : CAIRO_LINE_JOIN_ROUND);
        cairo_set_dash(cr_, dashes.empty() ? nullptr : dashes.data(),
                       static_cast<int>(dashes.size()), 0);
        setColour(cr_, color);
        cairo_stroke(cr_);
        cairo_set_dash(cr_, nullptr, 0, 0);
    }

    void glyphs(const GlyphRun& run) override {
        cairo_font_face_t* face = cairoFace(run.font->file, run.font->faceIndex);
        if (!face || run.bytes.empty()) return;
        cairo_set_font_face(cr_, face);
        cairo_matrix_t m;
        cairo_matrix_init_rotate(&m, -run.angle);
        cairo_matrix_scale(&m, run.font->emX, run.font->emY);
        cairo_set_font_matrix(cr_, &m);
        std::vector<cairo_glyph_t> gs;
        for (std::size_t i = 0; i < run.bytes.size(); ++i)
            gs.push_back({run.font->glyphIndex(run.bytes[i]), run.origins[i].x, run.origins[i].y});
        setColour(cr_, run.color);
        cairo_show_glyphs(cr_, gs.data(), static_cast<int>(gs.size()));
    }

    void image(const Surface& pixels, const Affine& toDevice) override {
        if (pixels.width <= 0 || pixels.height <= 0) return;
        cairo_surface_t* img =
            cairo_image_surface_create(CAIRO_FORMAT_RGB24, pixels.width, pixels.height);
        cairo_surface_flush(img);
        unsigned char* data = cairo_image_surface_get_data(img);
        const int stride = cairo_image_surface_get_stride(img);
        for (int y = 0; y < pixels.height; ++y) {
            auto* row =
                reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
            for (int x = 0; x < pixels.width; ++x)
                row[x] = pixels.at(x, y) & 0xFFFFFF;
        }
        cairo_surface_mark_dirty(img);
        cairo_save(cr_);
        cairo_matrix_t m;
        cairo_matrix_init(&m, toDevice.m11, toDevice.m12, toDevice.m21, toDevice.m22, toDevice.dx,
                          toDevice.dy);
        cairo_transform(cr_, &m);
        cairo_set_source_surface(cr_, img, 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr_), CAIRO_FILTER_NEAREST);
        cairo_rectangle(cr_, 0, 0, pixels.width, pixels.height);
        cairo_fill(cr_);
        cairo_restore(cr_);
        cairo_surface_destroy(img);
    }

    void gradient(const PointD p[3], const COLORREF c[3]) override {
        cairo_pattern_t* mesh = cairo_pattern_create_mesh();
        cairo_mesh_pattern_begin_patch(mesh);
        cairo_mesh_pattern_move_to(mesh, p[0].x, p[0].y);
        cairo_mesh_pattern_line_to(mesh, p[1].x, p[1].y);
        cairo_mesh_pattern_line_to(mesh, p[2].x, p[2].y);
        for (unsigned k = 0; k < 3; ++k)
            cairo_mesh_pattern_set_corner_color_rgb(
                mesh, k, GetRValue(c[k]) / 255.0, GetGValue(c[k]) / 255.0, GetBValue(c[k]) / 255.0);
        cairo_mesh_pattern_end_patch(mesh);
        cairo_set_source(cr_, mesh);
        cairo_new_path(cr_);
        cairo_move_to(cr_, p[0].x, p[0].y);
        cairo_line_to(cr_, p[1].x, p[1].y);
        cairo_line_to(cr_, p[2].x, p[2].y);
        cairo_close_path(cr_);
        cairo_fill(cr_);
        cairo_pattern_destroy(mesh);
    }

  private:
    cairo_t* cr_;
    double scale_;
};

class CairoDocument final : public PdfDocument {
  public:
    CairoDocument(cairo_surface_t* s, int dpi)
        : surface_(s), cr_(cairo_create(s)), device_(cr_, dpi) {}
    ~CairoDocument() override {
        cairo_destroy(cr_);
        cairo_surface_destroy(surface_);
    }
    void startPage(double w, double h) override {
        cairo_pdf_surface_set_size(surface_, w, h);
        device_.begin();
    }
    void endPage() override { cairo_show_page(cr_); }
    bool finish() override {
        cairo_surface_finish(surface_);
        return cairo_surface_status(surface_) == CAIRO_STATUS_SUCCESS;
    }
    VectorDevice& device() override { return device_; }

  private:
    cairo_surface_t* surface_;
    cairo_t* cr_;
    CairoDevice device_;
};

}  // namespace

std::unique_ptr<PdfDocument> PdfDocument::create(const std::string& path, double w, double h,
                                                 int dpi) {
    cairo_surface_t* s = cairo_pdf_surface_create(path.c_str(), w, h);
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(s);
        return nullptr;
    }
    return std::make_unique<CairoDocument>(s, dpi);
}

}  // namespace win::gdi

#include "platform/printing/detail/DigitWidth.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <memory>

namespace platform::printing::detail {

namespace {

struct PatternDelete
{
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using Pattern = std::unique_ptr<FcPattern, PatternDelete>;

struct ConfigDelete
{
    void operator()(FcConfig* config) const { FcConfigDestroy(config); }
};
using Config = std::unique_ptr<FcConfig, ConfigDelete>;

struct LibraryDelete
{
    void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
using Library = std::unique_ptr<std::remove_pointer_t<FT_Library>, LibraryDelete>;

struct FaceDelete
{
    void operator()(FT_Face face) const { FT_Done_Face(face); }
};
using Face = std::unique_ptr<std::remove_pointer_t<FT_Face>, FaceDelete>;

// The file and face index fontconfig draws the family in.
std::optional<std::pair<std::string, int>> MatchedFont(const std::string& family)
{
    // A configuration of its own, not fontconfig's process-wide one: that one lives until
    // the process ends, beyond the reach of anything that frees it, and the windows' toolkit
    // may share it.
    const Config config(FcInitLoadConfigAndFonts());
    Pattern pattern(FcPatternCreate());
    if (!config || !pattern)
        return std::nullopt;
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcConfigSubstitute(config.get(), pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    Pattern match(FcFontMatch(config.get(), pattern.get(), &result));
    FcChar8* file = nullptr;
    if (!match || FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch || !file)
        return std::nullopt;
    int index = 0;
    FcPatternGetInteger(match.get(), FC_INDEX, 0, &index);
    return std::make_pair(std::string(reinterpret_cast<const char*>(file)), index);
}

} // namespace

std::optional<double> DigitEmWidth(const std::string& family)
{
    const auto font = MatchedFont(family);
    if (!font)
        return std::nullopt;
    FT_Library rawLibrary = nullptr;
    if (FT_Init_FreeType(&rawLibrary) != 0)
        return std::nullopt;
    const Library library(rawLibrary);
    FT_Face rawFace = nullptr;
    if (FT_New_Face(library.get(), font->first.c_str(), font->second, &rawFace) != 0)
        return std::nullopt;
    const Face face(rawFace);
    if (face->units_per_EM == 0)
        return std::nullopt;
    // Unscaled design advances: the widths an office suite lays out in, before any hinting to
    // a screen's pixels.
    long widest = 0;
    for (char digit = '0'; digit <= '9'; ++digit) {
        const FT_UInt glyph = FT_Get_Char_Index(face.get(), static_cast<FT_ULong>(digit));
        if (glyph == 0 || FT_Load_Glyph(face.get(), glyph, FT_LOAD_NO_SCALE) != 0)
            continue;
        widest = std::max<long>(widest, face->glyph->advance.x);
    }
    if (widest <= 0)
        return std::nullopt;
    return static_cast<double>(widest) / face->units_per_EM;
}

} // namespace platform::printing::detail

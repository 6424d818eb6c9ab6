#include "gui/TextMeasure.h"

#include "gui/GridDelegate.h"
#include "gui/Units.h"

#include <QApplication>
#include <QFont>
#include <QFontMetrics>
#include <QStyle>

#include <cmath>
#include <map>
#include <memory>
#include <unordered_map>
#include <utility>

namespace gui {

namespace pf = platform::forms;

namespace {

QFont Regular(QFont font)
{
    font.setBold(false);
    return font;
}

// The advances of one font's characters, measured as they are first met.
class Advances
{
public:
    explicit Advances(const QFont& font) : scale(GridWidthScale(Regular(font))), m_metrics(font)
    {
    }

    // The views show a grid in this font that much wider than its twips; bold cells count in
    // the grid's regular font, as the view scales by it.
    const double scale;

    int Of(char32_t c)
    {
        const auto found = m_cache.find(c);
        if (found != m_cache.end())
            return found->second;
        const int advance = m_metrics.horizontalAdvance(QString::fromUcs4(&c, 1));
        m_cache.emplace(c, advance);
        return advance;
    }

    int Of(std::string_view utf8)
    {
        int width = 0;
        for (std::size_t i = 0; i < utf8.size();) {
            const auto lead = static_cast<unsigned char>(utf8[i]);
            const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
            char32_t c = length == 1 ? lead : lead & (0x3F >> (length - 1));
            for (std::size_t k = 1; k < length && i + k < utf8.size(); ++k)
                c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
            width += Of(c);
            i += length;
        }
        return width;
    }

private:
    QFontMetrics m_metrics;
    std::unordered_map<char32_t, int> m_cache;
};

// Room around a cell's text: the item view's text margins on both sides and a pixel each
// side for the grid line; a header section keeps its own margins and room for the sort
// arrow; a check box its indicator and the gap to the text.
struct Padding
{
    int cell, header, checkBox;
};

Padding PaddingOfStyle()
{
    QStyle* style = QApplication::style();
    const int textMargin = style->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1;
    const int headerMargin = style->pixelMetric(QStyle::PM_HeaderMargin);
    return {2 * textMargin + 4, 4 * headerMargin + 4,
            style->pixelMetric(QStyle::PM_IndicatorWidth) + 2 * textMargin};
}

} // namespace

pf::Driver::TextMeasure DesktopTextMeasure()
{
    // One cache per font size and weight, shared by every copy of the measure.
    auto fonts = std::make_shared<std::map<std::pair<int, bool>, Advances>>();
    const Padding padding = PaddingOfStyle();
    return [fonts, padding](const pf::CellText& cell) {
        const int quarterPoints = static_cast<int>(std::lround(cell.points * 4));
        auto found = fonts->find({quarterPoints, cell.bold});
        if (found == fonts->end()) {
            QFont font = QApplication::font();
            font.setPointSizeF(quarterPoints / 4.0);
            font.setBold(cell.bold);
            found = fonts->emplace(std::pair(quarterPoints, cell.bold), Advances(font)).first;
        }
        int pixels = found->second.Of(cell.text) + (cell.header ? padding.header : padding.cell);
        if (cell.checkBox)
            pixels += padding.checkBox;
        if (cell.outlineLevel >= 0)
            pixels += GridDelegate::Indent(cell.outlineLevel);
        // In the grid's twips, which the views show GridWidthScale times wider.
        return static_cast<int>(std::ceil(Twips(pixels) / found->second.scale));
    };
}

} // namespace gui

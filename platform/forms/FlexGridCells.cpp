// Cell ranges and cell formats of the FlexGrid.
#include "platform/forms/FlexGrid.h"

#include "platform/forms/detail/GridModel.h"
#include "platform/runtime/Conversion.h"

#include <algorithm>

namespace platform::forms {
namespace {

struct Ordered
{
    int r1, c1, r2, c2;
};

Ordered Order(const FlexGrid::Impl& impl, const CellRange& range)
{
    impl.CheckRow(range.row1);
    impl.CheckRow(range.row2);
    impl.CheckCol(range.col1);
    impl.CheckCol(range.col2);
    return {std::min(range.row1, range.row2), std::min(range.col1, range.col2),
            std::max(range.row1, range.row2), std::max(range.col1, range.col2)};
}

template <typename Apply>
void ForEachCell(FlexGrid::Impl& impl, const CellRange& range, Apply apply)
{
    const Ordered o = Order(impl, range);
    for (int r = o.r1; r <= o.r2; ++r) {
        auto& row = impl.rows[size_t(r)];
        for (int c = o.c1; c <= o.c2; ++c) {
            apply(row.FormatFor(c));
        }
    }
}

const detail::CellFormat* FormatOf(const FlexGrid::Impl& impl, int row, int col)
{
    impl.CheckRow(row);
    impl.CheckCol(col);
    return impl.rows[size_t(row)].Format(col);
}

} // namespace

std::string FlexGrid::Clip(const CellRange& range) const
{
    const Ordered o = Order(*m_impl, range);
    std::string text;
    for (int r = o.r1; r <= o.r2; ++r) {
        if (r > o.r1) {
            text += '\r';
        }
        for (int c = o.c1; c <= o.c2; ++c) {
            if (c > o.c1) {
                text += '\t';
            }
            text += m_impl->rows[size_t(r)].Text(c);
        }
    }
    return text;
}

void FlexGrid::SetClip(const CellRange& range, const std::string& text)
{
    const Ordered o = Order(*m_impl, range);
    std::vector<std::vector<std::string>> texts(1, std::vector<std::string>(1));
    for (size_t i = 0; i < text.size(); ++i) {
        const char ch = text[i];
        if (ch == '\r' || ch == '\n') {
            // CR, LF and CR LF each end a row.
            if (ch == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            texts.emplace_back(1);
        } else if (ch == '\t') {
            texts.back().emplace_back();
        } else {
            texts.back().back() += ch;
        }
    }
    SetRangeTexts({o.r1, o.c1, o.r2, o.c2}, texts);
    Notify(GridChange::Cells);
}

std::vector<std::vector<std::string>> FlexGrid::RangeTexts(const CellRange& range) const
{
    const Ordered o = Order(*m_impl, range);
    std::vector<std::vector<std::string>> texts;
    texts.reserve(size_t(o.r2 - o.r1 + 1));
    for (int r = o.r1; r <= o.r2; ++r) {
        auto& line = texts.emplace_back();
        line.reserve(size_t(o.c2 - o.c1 + 1));
        for (int c = o.c1; c <= o.c2; ++c) {
            line.emplace_back(m_impl->rows[size_t(r)].Text(c));
        }
    }
    return texts;
}

void FlexGrid::SetRangeTexts(const CellRange& range,
                             const std::vector<std::vector<std::string>>& texts)
{
    const Ordered o = Order(*m_impl, range);
    for (int r = o.r1; r <= o.r2 && size_t(r - o.r1) < texts.size(); ++r) {
        const auto& line = texts[size_t(r - o.r1)];
        auto& row = m_impl->rows[size_t(r)];
        for (int c = o.c1; c <= o.c2 && size_t(c - o.c1) < line.size(); ++c) {
            row.SetText(c, line[size_t(c - o.c1)], m_impl->ColCount());
        }
    }
    Notify(GridChange::Cells);
}

Alignment FlexGrid::CellAlignment(int row, int col) const
{
    const auto* f = FormatOf(*m_impl, row, col);
    return f != nullptr && f->alignment ? *f->alignment : m_impl->cols[size_t(col)].alignment;
}

void FlexGrid::SetCellAlignment(const CellRange& range, Alignment alignment)
{
    ForEachCell(*m_impl, range, [&](detail::CellFormat& f) { f.alignment = alignment; });
    Notify(GridChange::Cells);
}

std::shared_ptr<platform::runtime::Object> FlexGrid::CellPicture(int row, int col) const
{
    const auto* f = FormatOf(*m_impl, row, col);
    return f != nullptr ? f->picture : nullptr;
}

void FlexGrid::SetCellPicture(const CellRange& range,
                              std::shared_ptr<platform::runtime::Object> picture)
{
    ForEachCell(*m_impl, range, [&](detail::CellFormat& f) { f.picture = picture; });
    Notify(GridChange::Colours);
}

int FlexGrid::CellPictureAlignment(int row, int col) const
{
    const auto* f = FormatOf(*m_impl, row, col);
    return f != nullptr ? f->pictureAlignment : 0;
}

void FlexGrid::SetCellPictureAlignment(const CellRange& range, int alignment)
{
    ForEachCell(*m_impl, range, [&](detail::CellFormat& f) { f.pictureAlignment = alignment; });
    Notify(GridChange::Colours);
}

std::optional<std::uint32_t> FlexGrid::CellBackColor(int row, int col) const
{
    const auto* f = FormatOf(*m_impl, row, col);
    return f != nullptr ? f->backColor : std::nullopt;
}

void FlexGrid::SetCellBackColor(const CellRange& range, std::uint32_t colour)
{
    ForEachCell(*m_impl, range, [&](detail::CellFormat& f) { f.backColor = colour; });
    Notify(GridChange::Colours);
}

std::optional<std::uint32_t> FlexGrid::CellForeColor(int row, int col) const
{
    const auto* f = FormatOf(*m_impl, row, col);
    return f != nullptr ? f->foreColor : std::nullopt;
}

void FlexGrid::SetCellForeColor(const CellRange& range, std::uint32_t colour)
{
    ForEachCell(*m_impl, range, [&](detail::CellFormat& f) { f.foreColor = colour; });
    Notify(GridChange::Colours);
}

bool FlexGrid::CellFontBold(int row, int col) const
{
    const auto* f = FormatOf(*m_impl, row, col);
    return f != nullptr && f->bold;
}

void FlexGrid::SetCellFontBold(const CellRange& range, bool bold)
{
    ForEachCell(*m_impl, range, [&](detail::CellFormat& f) { f.bold = bold; });
    Notify(GridChange::Cells);
}

CheckState FlexGrid::CellChecked(int row, int col) const
{
    const auto* f = FormatOf(*m_impl, row, col);
    return f != nullptr ? f->check : CheckState::None;
}

void FlexGrid::SetCellChecked(const CellRange& range, CheckState state)
{
    ForEachCell(*m_impl, range, [&](detail::CellFormat& f) { f.check = state; });
    Notify(GridChange::Colours);
}

} // namespace platform::forms

namespace platform::forms {
namespace rt = platform::runtime;

rt::Variant FlexGrid::Cell(CellSetting setting, const CellRange& range) const
{
    const Ordered o = Order(*m_impl, range);
    const detail::CellFormat* f = m_impl->rows[size_t(o.r1)].Format(o.c1);
    switch (setting) {
    case CellSetting::Text:
        return Clip(range);
    case CellSetting::Alignment:
        return std::int32_t(CellAlignment(o.r1, o.c1));
    case CellSetting::Picture:
        return rt::Variant(CellPicture(o.r1, o.c1));
    case CellSetting::PictureAlignment:
        return std::int32_t(CellPictureAlignment(o.r1, o.c1));
    case CellSetting::Checked:
        return std::int32_t(CellChecked(o.r1, o.c1));
    case CellSetting::BackColor:
    case CellSetting::ForeColor: {
        const auto colour = f == nullptr                        ? std::nullopt
                            : setting == CellSetting::BackColor ? f->backColor
                                                                : f->foreColor;
        return colour ? rt::Variant(std::int32_t(*colour)) : rt::Variant();
    }
    case CellSetting::FontBold:
        return CellFontBold(o.r1, o.c1);
    }
    detail::RaiseNotSupported("Cell setting " + std::to_string(int(setting)));
}

void FlexGrid::SetCell(CellSetting setting, const CellRange& range, const rt::Variant& value)
{
    const NotifyOnExit notify(*this, GridChange::Cells);
    const Ordered o = Order(*m_impl, range);
    switch (setting) {
    case CellSetting::Text:
        if (value.IsArray()) {
            const rt::Array& a = value.AsArray();
            std::vector<std::vector<std::string>> texts;
            for (std::int32_t i = a.LBound(1); i <= a.UBound(1); ++i) {
                auto& line = texts.emplace_back();
                if (a.Dimensions() == 1) {
                    line.push_back(rt::CStr(a(i)));
                    continue;
                }
                for (std::int32_t j = a.LBound(2); j <= a.UBound(2); ++j) {
                    line.push_back(rt::CStr(a(i, j)));
                }
            }
            SetRangeTexts(range, texts);
        } else if (const std::string text = rt::CStr(value);
                   text.find_first_of("\t\r\n") != std::string::npos) {
            SetClip(range, text);
        } else {
            SetRangeTexts(range, std::vector<std::vector<std::string>>(
                                     size_t(o.r2 - o.r1 + 1),
                                     std::vector<std::string>(size_t(o.c2 - o.c1 + 1), text)));
        }
        return;
    case CellSetting::Alignment:
        SetCellAlignment(range, static_cast<Alignment>(rt::CLng(value)));
        return;
    case CellSetting::Picture:
        SetCellPicture(range, value.IsEmpty() ? nullptr : value.AsObject());
        return;
    case CellSetting::PictureAlignment:
        SetCellPictureAlignment(range, rt::CLng(value));
        return;
    case CellSetting::Checked:
        SetCellChecked(range, static_cast<CheckState>(rt::CLng(value)));
        return;
    case CellSetting::BackColor:
        SetCellBackColor(range, std::uint32_t(rt::CLng(value)));
        return;
    case CellSetting::ForeColor:
        SetCellForeColor(range, std::uint32_t(rt::CLng(value)));
        return;
    case CellSetting::FontBold:
        SetCellFontBold(range, rt::CBool(value));
        return;
    }
    detail::RaiseNotSupported("Cell setting " + std::to_string(int(setting)));
}

} // namespace platform::forms

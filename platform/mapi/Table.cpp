#include "platform/mapi/Table.h"

#include "platform/mapi/Items.h"
#include "platform/mapi/TableFilter.h"
#include "platform/mapi/detail/Arguments.h"
#include "platform/mapi/detail/CompiledRestriction.h"
#include "platform/mapi/detail/Context.h"
#include "platform/mapi/detail/ValueConversion.h"
#include "platform/runtime/Error.h"

#include <algorithm>

namespace platform::mapi {

Table::Table() = default;

Table::Table(const std::shared_ptr<Items>& owner) : m_owner(owner) {}

Table::~Table()
{
    if (m_filter)
        m_filter->Detach();
}

std::shared_ptr<Items> Table::Source() const
{
    if (m_source)
        return m_source;
    return m_owner.lock();
}

void Table::SetItem(const runtime::Variant& source)
{
    if (source.IsEmpty() || source.IsNothing()) {
        SetItem(std::shared_ptr<Items>{});
        return;
    }
    const auto* object = source.Get<std::shared_ptr<runtime::Object>>();
    auto items = object ? std::dynamic_pointer_cast<Items>(*object) : nullptr;
    if (!items)
        runtime::Raise(runtime::errors::TypeMismatch, "Table.Item",
                       "The table's item source must be a folder's item collection.");
    SetItem(items);
}

void Table::SetItem(const std::shared_ptr<Items>& source)
{
    if (auto old = Source(); old && old != source)
        old->SetRestriction(nullptr);
    m_source = source;
    m_owner.reset();
    m_restriction.reset();
    m_rowsLoaded = false;
    m_position = 0;
}

std::shared_ptr<Items> Table::Item() const
{
    return Source();
}

void Table::SetColumns(const runtime::Variant& tags)
{
    std::vector<std::int32_t> columns;
    if (const auto* array = tags.Get<runtime::Array>()) {
        if (array->Dimensions() != 1)
            runtime::Raise(runtime::errors::TypeMismatch, "Table.Columns");
        for (std::int32_t i = array->LBound(); i <= array->UBound(); ++i) {
            const auto tag = detail::WholeNumberOf((*array)(i));
            if (!tag)
                runtime::Raise(runtime::errors::TypeMismatch, "Table.Columns",
                               "A column list holds property tags (whole numbers).");
            // Tags above 0x7FFFFFFF come as Doubles; they wrap to the 32-bit tag.
            columns.push_back(static_cast<std::int32_t>(static_cast<std::uint32_t>(*tag)));
        }
    } else if (!tags.IsEmpty()) {
        runtime::Raise(runtime::errors::TypeMismatch, "Table.Columns",
                       "A column list is an array of property tags.");
    }
    SetColumns(std::move(columns));
}

void Table::SetColumns(std::vector<std::int32_t> tags)
{
    m_columns = std::move(tags);
    m_rowsLoaded = false;
}

std::shared_ptr<TableFilter> Table::Filter()
{
    if (!m_filter)
        m_filter = std::make_shared<TableFilter>(*this);
    return m_filter;
}

void Table::ApplyRestriction(std::shared_ptr<const detail::CompiledRestriction> restriction)
{
    m_restriction = restriction;
    if (auto source = Source())
        source->SetRestriction(std::move(restriction));
    m_rowsLoaded = false;
    m_position = 0;
}

void Table::LoadRows()
{
    m_rows.clear();
    m_rowsLoaded = true;
    auto source = Source();
    if (!source)
        return;
    // One pass over the folder reads the columns and whatever the restriction tests.
    std::vector<store::PropTag> tags;
    for (auto c : m_columns)
        tags.push_back(store::NormalizeTag(static_cast<store::PropTag>(c)));
    const std::size_t columnCount = tags.size();
    if (m_restriction)
        for (auto t : m_restriction->Tags())
            if (std::find(tags.begin(), tags.end(), t) == tags.end())
                tags.push_back(t);
    m_generation = source->Context()->Generation();
    auto& st = source->Context()->GetStore(source->StoreID());
    // Where the restriction bounds an integer property, the store reads only the items with a
    // value in those bounds (and of a calendar read only the series that reach its window, as
    // the item collection does).
    const auto ranges = m_restriction ? m_restriction->Ranges() : std::nullopt;
    const auto rows = detail::Guard("Table.GetRows", [&] {
        return ranges ? st.ReadTableInRanges(source->FolderEntryID(), tags, *ranges,
                                             m_restriction->SeriesWindow())
                      : st.ReadTable(source->FolderEntryID(), tags);
    });
    m_rows.reserve(rows.size());
    for (const auto& row : rows) {
        if (m_restriction) {
            auto read = [&](store::PropTag tag) -> const store::PropValue* {
                auto at = std::find(tags.begin(), tags.end(), tag);
                const auto& v = row.values[static_cast<std::size_t>(at - tags.begin())];
                return v ? &*v : nullptr;
            };
            if (!m_restriction->Matches(read))
                continue;
        }
        std::vector<runtime::Variant> values(columnCount);
        for (std::size_t c = 0; c < columnCount; ++c)
            // A tag of 0 names no property, whatever the store would answer for it.
            if (row.values[c] && m_columns[c] != 0)
                values[c] = detail::ToVariant(*row.values[c]);
        m_rows.push_back(std::move(values));
    }
}

long Table::RowCount() const
{
    auto source = Source();
    return source ? source->Count() : 0;
}

void Table::GoToFirst()
{
    // GetRows hands its values over; reading again starts from the store.
    m_position = 0;
    m_rowsLoaded = false;
}

runtime::Variant Table::GetRows(long count)
{
    if (auto source = Source();
        source && m_rowsLoaded && m_generation != source->Context()->Generation())
        m_rowsLoaded = false;
    if (!m_rowsLoaded)
        LoadRows();
    const long total = static_cast<long>(m_rows.size());
    if (count < 1 || m_position >= total)
        return {};
    const long n = std::min(count, total - m_position);
    const auto columns = static_cast<std::int32_t>(m_columns.size());
    runtime::Array result(runtime::VarType::Variant,
                          {{0, static_cast<std::int32_t>(n - 1)}, {0, columns - 1}});
    for (long r = 0; r < n; ++r) {
        auto& row = m_rows[static_cast<std::size_t>(m_position + r)];
        for (std::int32_t c = 0; c < columns; ++c)
            result(static_cast<std::int32_t>(r), c) = std::move(row[static_cast<std::size_t>(c)]);
    }
    m_position += n;
    return result;
}

} // namespace platform::mapi

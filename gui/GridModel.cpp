#include "gui/GridModel.h"

#include "gui/DesktopWindows.h"
#include "gui/Pictures.h"
#include "gui/Units.h"
#include "platform/forms/FlexGrid.h"
#include "platform/locale/Locale.h"

#include <QApplication>
#include <QBrush>
#include <QFont>
#include <QLocale>
#include <QPalette>

#include <algorithm>
#include <exception>
#include <optional>
#include <set>

namespace gui {

namespace pf = platform::forms;

namespace {

// The alignment a cell asks for; nothing for General, which depends on the text.
std::optional<Qt::Alignment> AlignmentOf(pf::Alignment alignment)
{
    switch (alignment) {
    case pf::Alignment::LeftTop:
        return Qt::AlignLeft | Qt::AlignTop;
    case pf::Alignment::LeftCenter:
        return Qt::AlignLeft | Qt::AlignVCenter;
    case pf::Alignment::LeftBottom:
        return Qt::AlignLeft | Qt::AlignBottom;
    case pf::Alignment::CenterTop:
        return Qt::AlignHCenter | Qt::AlignTop;
    case pf::Alignment::CenterCenter:
        return Qt::AlignCenter;
    case pf::Alignment::CenterBottom:
        return Qt::AlignHCenter | Qt::AlignBottom;
    case pf::Alignment::RightTop:
        return Qt::AlignRight | Qt::AlignTop;
    case pf::Alignment::RightCenter:
        return Qt::AlignRight | Qt::AlignVCenter;
    case pf::Alignment::RightBottom:
        return Qt::AlignRight | Qt::AlignBottom;
    case pf::Alignment::General:
        break;
    }
    return std::nullopt;
}

bool IsTicked(pf::CheckState state)
{
    return state == pf::CheckState::Checked || state == pf::CheckState::TreeChecked;
}

} // namespace

GridModel::GridModel(pf::FlexGrid& grid, QObject* parent)
    : QAbstractTableModel(parent), m_grid(grid)
{
    Rebuild();
    m_grid.SetObserver([this](pf::GridChange change) { OnChange(change); });
}

GridModel::~GridModel()
{
    if (!m_gone)
        m_grid.SetObserver({});
}

int GridModel::GridRow(int modelRow) const
{
    return modelRow >= 0 && modelRow < int(m_rows.size()) ? m_rows[size_t(modelRow)] : -1;
}

int GridModel::ModelRow(int gridRow) const
{
    const auto found = std::lower_bound(m_rows.begin(), m_rows.end(), gridRow);
    return found != m_rows.end() && *found == gridRow ? int(found - m_rows.begin()) : -1;
}

int GridModel::FrozenRows() const
{
    if (m_gone)
        return 0;
    return int(std::lower_bound(m_rows.begin(), m_rows.end(), m_grid.FixedRows()) - m_rows.begin());
}

void GridModel::Rebuild()
{
    beginResetModel();
    m_rows.clear();
    m_cols = m_grid.Cols();
    const int rows = m_grid.Rows();
    const int first = std::min(std::max(m_grid.FixedRows(), 0), 1);
    m_rows.reserve(size_t(std::max(rows - first, 0)));
    std::set<int> levels;
    for (int r = first; r < rows; ++r) {
        if (m_grid.RowIsVisible(r))
            m_rows.push_back(r);
        if (m_grid.IsSubtotal(r))
            levels.insert(m_grid.RowOutlineLevel(r));
    }
    // The outline indents by the rank of a node's level among the levels in use: the levels
    // may be any numbers (a report uses the columns it groups on).
    m_levelRanks.clear();
    for (int level : levels)
        m_levelRanks.emplace(level, int(m_levelRanks.size()));
    m_pending = false;
    endResetModel();
}

Qt::Alignment GridModel::GeneralAlignment(const std::string& text) const
{
    const auto& settings = platform::locale::Current();
    if (settings.name != m_localeName) {
        m_localeName = settings.name;
        m_textLocale = QLocale(ToQ(m_localeName).replace(QLatin1Char('-'), QLatin1Char('_')));
    }
    // A number as the regional settings write one ("5,5" and "1.234,5" in German, "5.5" and
    // "1,234.5" in English); a date such as "10.12.2026" is none.
    bool number = false;
    m_textLocale.toDouble(ToQ(text).trimmed(), &number);
    return (number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
}

bool GridModel::OwnsRows(int row) const
{
    // A node owns the rows below it up to the next node of its level or a lower one.
    const int next = row + 1;
    return next < m_grid.Rows() &&
           !(m_grid.IsSubtotal(next) && m_grid.RowOutlineLevel(next) <= m_grid.RowOutlineLevel(row));
}

void GridModel::OnChange(pf::GridChange change)
{
    // The grid calls from inside its own calls; nothing may leave this handler.
    try {
        if (change == pf::GridChange::Destroyed) {
            beginResetModel();
            m_gone = true;
            m_rows.clear();
            m_cols = 0;
            endResetModel();
            emit GridGone();
            return;
        }
        if (!m_grid.Redraw()) {
            m_pending = true;
            return;
        }
        if (m_pending || change == pf::GridChange::Rows || change == pf::GridChange::Outline ||
            change == pf::GridChange::Redraw || m_cols != m_grid.Cols()) {
            if (change != pf::GridChange::Redraw || m_pending) {
                m_textsKept = change == pf::GridChange::Outline && !m_pending;
                Rebuild();
                m_textsKept = false;
            }
            emit ColumnsChanged();
            emit SelectionChanged();
            return;
        }
        switch (change) {
        case pf::GridChange::Columns:
            emit ColumnsChanged();
            [[fallthrough]]; // a moved column moves its cells
        case pf::GridChange::Cells:
        case pf::GridChange::Colours:
            m_textsKept = change == pf::GridChange::Colours;
            if (!m_rows.empty() && m_cols > 0)
                emit dataChanged(index(0, 0), index(int(m_rows.size()) - 1, m_cols - 1));
            emit headerDataChanged(Qt::Horizontal, 0, std::max(m_cols - 1, 0));
            m_textsKept = false;
            break;
        case pf::GridChange::Selection:
            emit SelectionChanged();
            break;
        case pf::GridChange::Scroll:
            emit ScrollChanged();
            break;
        default:
            break;
        }
    } catch (const std::exception& e) {
        qWarning("grid view: %s", e.what());
    }
}

int GridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int GridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_cols;
}

QVariant GridModel::data(const QModelIndex& index, int role) const
{
    const int row = GridRow(index.row()), col = index.column();
    // While the grid's redraw is off the rows may have changed under the model.
    if (m_gone || row < 0 || row >= m_grid.Rows() || col < 0 || col >= m_grid.Cols())
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return ToQ(m_grid.TextMatrix(row, col));
    case Qt::TextAlignmentRole: {
        const auto alignment = AlignmentOf(m_grid.CellAlignment(row, col));
        return QVariant::fromValue(alignment ? *alignment
                                             : GeneralAlignment(m_grid.TextMatrix(row, col)));
    }
    case Qt::BackgroundRole:
        if (const auto colour = m_grid.CellBackColor(row, col))
            return QBrush(ColourOf(*colour));
        if (row < m_grid.FixedRows() || col < m_grid.FixedCols())
            return QApplication::palette().button();
        return {};
    case Qt::ForegroundRole:
        if (const auto colour = m_grid.CellForeColor(row, col))
            return QBrush(ColourOf(*colour));
        return {};
    case Qt::FontRole:
        if (m_grid.CellFontBold(row, col) || m_grid.IsSubtotal(row)) {
            // Only the weight: the view's own font gives the family and size.
            QFont font;
            font.setBold(true);
            return font;
        }
        return {};
    case Qt::DecorationRole: {
        const QIcon icon = IconOf(m_grid.CellPicture(row, col).get());
        return icon.isNull() ? QVariant() : QVariant(icon);
    }
    case Qt::CheckStateRole: {
        const auto state = m_grid.CellChecked(row, col);
        if (state == pf::CheckState::None)
            return {};
        return IsTicked(state) ? Qt::Checked : Qt::Unchecked;
    }
    case OutlineLevelRole: {
        const auto rank = m_levelRanks.find(m_grid.RowOutlineLevel(row));
        return rank != m_levelRanks.end() ? rank->second : 0;
    }
    case NodeRole:
        if (!m_grid.IsSubtotal(row))
            return -1;
        return OwnsRows(row) ? int(m_grid.IsCollapsed(row)) : kLeafNode;
    default:
        return {};
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (m_gone || orientation != Qt::Horizontal || section < 0 || section >= m_grid.Cols() ||
        m_grid.FixedRows() < 1 || m_grid.Rows() < 1)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return ToQ(m_grid.TextMatrix(0, section));
    return {};
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const
{
    const int row = GridRow(index.row()), col = index.column();
    if (m_gone || row < 0 || row >= m_grid.Rows() || col < 0 || col >= m_grid.Cols())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (m_grid.Editable() && row >= m_grid.FixedRows() && col >= m_grid.FixedCols())
        flags |= m_grid.CellChecked(row, col) != pf::CheckState::None ? Qt::ItemIsUserCheckable
                                                                     : Qt::ItemIsEditable;
    return flags;
}

bool GridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    const int row = GridRow(index.row()), col = index.column();
    if (m_gone || row < 0 || col < 0)
        return false;
    bool changed = false;
    CallModel([&] {
        if (role == Qt::CheckStateRole)
            changed = m_grid.UserToggleCheck(row, col);
        else if (role == Qt::EditRole)
            changed = m_grid.UserEdit(row, col, FromQ(value.toString()));
    });
    return changed;
}

} // namespace gui

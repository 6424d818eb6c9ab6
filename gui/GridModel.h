#pragma once

#include <QAbstractTableModel>
#include <QLocale>

#include <map>
#include <string>
#include <vector>

namespace platform::forms {
class FlexGrid;
enum class GridChange;
} // namespace platform::forms

namespace gui {

/// A table model over a headless flexible grid. The grid's first fixed row is the header; the
/// model's rows are the grid's shown rows below it (other fixed rows, then the data rows that
/// no collapsed node hides and that are not 0 high). Cells are read from the grid when the
/// view asks for them, so a view that paints one page reads one page.
///
/// Changes the grid reports are shown at once, except while its Redraw switch is off: then
/// the model waits and shows everything when the switch comes back on.
class GridModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    /// Roles beyond Qt's: the outline level and node state of a row, for the outline column.
    enum Role
    {
        OutlineLevelRole = Qt::UserRole + 1, ///< int: rank of the row's level among node levels
        NodeRole, ///< int: -1 no node, 0 expanded, 1 subtotals, 2 collapsed, 3 owns no rows
    };

    /// The NodeRole of a node row that owns no rows (a folder without subfolders).
    static constexpr int kLeafNode = 3;

    explicit GridModel(platform::forms::FlexGrid& grid, QObject* parent = nullptr);
    ~GridModel() override;

    platform::forms::FlexGrid& Grid() const { return m_grid; }
    /// False once the grid is gone: the model is empty then and reads nothing.
    bool HasGrid() const { return !m_gone; }
    /// The grid row of a model row (-1 outside).
    int GridRow(int modelRow) const;
    /// The model row of a grid row, or -1 when that row is not shown.
    int ModelRow(int gridRow) const;
    /// How many of the first model rows are fixed rows of the grid (those below its header).
    int FrozenRows() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    /// Data cells of an editable grid: a cell with a check box is checkable (a click or Space
    /// toggles it), any other cell editable in place.
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    /// An edit or a check by the person: the grid's UserEdit or UserToggleCheck.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    /// True while the model resets or tells of changed data for a change that left every
    /// cell's text and font as they were (a node collapsed or expanded, a cell's colour): what
    /// was measured of the texts still holds.
    bool ChangeKeepsTexts() const { return m_textsKept; }

signals:
    /// Column widths, order or visibility changed.
    void ColumnsChanged();
    /// The current cell or the selection changed.
    void SelectionChanged();
    /// The grid's first shown row changed.
    void ScrollChanged();
    /// The grid was destroyed.
    void GridGone();

private:
    void OnChange(platform::forms::GridChange change);
    /// Whether a node row has rows of its own (else it shows no box to expand or collapse).
    bool OwnsRows(int row) const;
    void Rebuild();
    /// How a cell of General alignment stands: numbers to the right, other texts to the left.
    Qt::Alignment GeneralAlignment(const std::string& text) const;

    platform::forms::FlexGrid& m_grid;
    std::vector<int> m_rows;         // grid row of each model row
    std::map<int, int> m_levelRanks; // outline level of node rows -> its rank
    int m_cols = 0;
    bool m_pending = false; // changes arrived while the grid's redraw was off
    bool m_textsKept = false; // the change being told leaves texts and fonts (ChangeKeepsTexts)
    bool m_gone = false;    // the grid was destroyed
    // The locale the add-in writes the grid's texts in (the run's regional settings, not the
    // desktop's), kept while the run keeps its settings: the cells ask for it on every paint.
    mutable std::string m_localeName;
    mutable QLocale m_textLocale = QLocale::c();
};

} // namespace gui

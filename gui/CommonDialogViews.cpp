#include "gui/CommonDialogViews.h"

#include "gui/DesktopTexts.h"
#include "gui/DesktopWindows.h"
#include "gui/Pictures.h"
#include "gui/Units.h"
#include "platform/forms/CommonDialogs.h"
#include "platform/forms/ImageList.h"
#include "platform/forms/MenuBar.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QFormLayout>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QListView>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyle>
#include <QTimer>
#include <QTreeView>

#include <algorithm>

namespace gui {

namespace pf = platform::forms;

namespace {

// "Web Page (*.htm, *.html)" with "*.htm;*.html": Qt's filter text shows the patterns the
// filter matches, so the description loses a pattern list of its own.
QString FilterText(const pf::FileFilter& filter)
{
    return ToQ(pf::FilterLabel(filter));
}

// Qt's file dialog sizes the columns of its details for English texts: "Verzeichnis" and
// the dates of the regional settings came out cut. Each folder it shows fits the columns to
// their texts, the name taking the room left; the person may still resize them.
void FitFileColumns(QFileDialog& view)
{
    auto* details = view.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (!details)
        return;
    const auto fit = [details] {
        int others = 0;
        for (int c = 1; c < details->header()->count(); ++c)
            if (!details->isColumnHidden(c)) {
                details->resizeColumnToContents(c);
                others += details->columnWidth(c);
            }
        details->resizeColumnToContents(0);
        details->setColumnWidth(
            0, std::max(details->columnWidth(0), details->viewport()->width() - others));
    };
    if (auto* files = view.findChild<QFileSystemModel*>())
        QObject::connect(files, &QFileSystemModel::directoryLoaded, &view, fit,
                         Qt::QueuedConnection);
    // Once shown, with the widths of the window.
    QTimer::singleShot(0, &view, fit);
}

// The side bar of places is as narrow as Qt makes it for English names: "Computer" showed as
// "Com…". It takes at least the width its names need.
void FitSideBar(QFileDialog& view)
{
    auto* places = view.findChild<QListView*>(QStringLiteral("sidebar"));
    if (!places)
        return;
    const auto fit = [places] {
        int need = 0;
        for (int r = 0; r < places->model()->rowCount(); ++r)
            need = std::max(need, places->sizeHintForIndex(places->model()->index(r, 0)).width());
        need += 2 * places->frameWidth() + places->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        places->setMinimumWidth(need);
    };
    fit();
    QTimer::singleShot(0, places, fit);
}

// Qt's file model writes sizes and dates as the process's locale does, whatever the run's
// language ("10 Dec 2026 13:37:02" under LANG=C with --lang de); they follow the run's locale
// (Qt's default, see QtTranslations) here.
class RunLocaleFiles : public QIdentityProxyModel
{
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override
    {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (role != Qt::DisplayRole || !files || !index.isValid())
            return QIdentityProxyModel::data(index, role);
        const QModelIndex source = mapToSource(index);
        if (index.column() == kSizeColumn && !files->isDir(source))
            return QLocale().formattedDataSize(files->size(source));
        if (index.column() == kDateColumn)
            return QLocale().toString(files->lastModified(source), QLocale::ShortFormat);
        return QIdentityProxyModel::data(index, role);
    }

private:
    static constexpr int kSizeColumn = 1;
    static constexpr int kDateColumn = 3;
};

// Asks until the answer fits: a refused answer is explained and the dialog shown again.
template <class Ask> bool UntilItFits(pf::CommonDialog& dialog, Ask ask)
{
    while (ask()) {
        const auto reason = dialog.Check();
        if (!reason)
            return true;
        QMessageBox::warning(OpeningWindow(), ToQ(dialog.Title()), ToQ(*reason));
    }
    return false;
}

bool RunFileDialog(pf::FileDialog& dialog)
{
    const auto& request = dialog.GetRequest();
    QWidget* opener = OpeningWindow();
    QFileDialog view(opener, ToQ(dialog.Title()), ToQ(request.initialFolder));
    view.setObjectName(QStringLiteral("FileDialog"));
    SetDialogFrame(view);
    // Qt's own dialog, so that it looks and works alike on every desktop; the service asks
    // before a file is replaced.
    view.setOption(QFileDialog::DontUseNativeDialog);
    view.setProxyModel(new RunLocaleFiles(&view));
    FitFileColumns(view);
    FitSideBar(view);
    view.setOption(QFileDialog::DontConfirmOverwrite);
    const bool save = request.kind == pf::DialogKind::SaveFile;
    view.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    view.setFileMode(!save && request.firstOption ? QFileDialog::ExistingFile
                                                  : QFileDialog::AnyFile);
    QStringList filters;
    for (const auto& filter : request.filters)
        filters << FilterText(filter);
    if (!filters.isEmpty()) {
        view.setNameFilters(filters);
        view.selectNameFilter(filters.value(dialog.FilterIndex()));
    }
    // The name so far: the initial one, or the one the person chose before being asked
    // whether to replace it (No brings the dialog back to change it, not to type it anew).
    if (!dialog.Name().empty())
        view.selectFile(ToQ(dialog.Name()));
    const bool accepted = UntilItFits(dialog, [&] {
        if (view.exec() != QDialog::Accepted || view.selectedFiles().isEmpty())
            return false;
        dialog.SetName(FromQ(view.selectedFiles().constFirst()));
        if (const auto index = filters.indexOf(view.selectedNameFilter()); index >= 0)
            dialog.SetFilterIndex(int(index));
        return true;
    });
    ReturnToOpener(opener);
    return accepted;
}

bool RunFolderDialog(pf::FolderDialog& dialog)
{
    const auto& request = dialog.GetRequest();
    QFileDialog view(OpeningWindow(), ToQ(request.title), ToQ(request.initialFolder));
    view.setObjectName(QStringLiteral("FolderDialog"));
    SetDialogFrame(view);
    view.setOption(QFileDialog::DontUseNativeDialog);
    view.setProxyModel(new RunLocaleFiles(&view));
    FitFileColumns(view);
    FitSideBar(view);
    view.setOption(QFileDialog::ShowDirsOnly);
    view.setFileMode(QFileDialog::Directory);
    if (!request.prompt.empty())
        view.setLabelText(QFileDialog::FileName, ToQ(request.prompt));
    return UntilItFits(dialog, [&] {
        if (view.exec() != QDialog::Accepted || view.selectedFiles().isEmpty())
            return false;
        dialog.SetPath(FromQ(view.selectedFiles().constFirst()));
        return true;
    });
}

// The print dialog's fields as a form: printer, copies, collation, range, orientation.
class PrintDialogView : public QDialog
{
public:
    explicit PrintDialogView(pf::PrintDialog& dialog) : QDialog(OpeningWindow()), m_dialog(dialog)
    {
        setObjectName(QStringLiteral("PrintDialog"));
        SetDialogFrame(*this);
        // The desktop's own dialog: its title is in the desktop's language.
        setWindowTitle(DesktopText(dialog.Title().c_str()));
        auto* form = new QFormLayout(this);
        m_printer = new QComboBox(this);
        m_printer->setObjectName(QStringLiteral("printer"));
        for (const auto& name : dialog.printers)
            m_printer->addItem(ToQ(name));
        m_copies = new QSpinBox(this);
        m_copies->setRange(1, 9999);
        m_collate = new QCheckBox(DesktopText("Collate"), this);
        m_all = new QRadioButton(DesktopText("All"), this);
        m_selection = new QRadioButton(DesktopText("Selection"), this);
        m_pages = new QRadioButton(DesktopText("Pages"), this);
        m_from = new QSpinBox(this);
        m_to = new QSpinBox(this);
        m_landscape = new QCheckBox(DesktopText("Landscape"), this);
        form->addRow(DesktopText("Printer"), m_printer);
        form->addRow(DesktopText("Copies"), m_copies);
        form->addRow(QString(), m_collate);
        form->addRow(DesktopText("Print range"), m_all);
        form->addRow(QString(), m_selection);
        form->addRow(m_pages, m_from);
        form->addRow(DesktopText("to"), m_to);
        form->addRow(QString(), m_landscape);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        NameStandardButtons(*buttons);
        form->addRow(buttons);
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        // Another printer brings its own page settings, as the service loads them.
        connect(m_printer, &QComboBox::activated, this, [this](int index) {
            CallModel([&] { m_dialog.SelectPrinter(FromQ(m_printer->itemText(index))); });
            Pull();
        });
        Pull();
    }

    // Writes the fields back into the dialog.
    void Push()
    {
        m_dialog.printer = FromQ(m_printer->currentText());
        m_dialog.copies = m_copies->value();
        m_dialog.collate = m_collate->isChecked();
        m_dialog.range = m_pages->isChecked()       ? pf::PrintRange::Pages
                         : m_selection->isChecked() ? pf::PrintRange::Selection
                                                    : pf::PrintRange::All;
        m_dialog.fromPage = m_from->value();
        m_dialog.toPage = m_to->value();
        m_dialog.orientation = m_landscape->isChecked() ? 2 : 1;
    }

private:
    void Pull()
    {
        m_printer->setCurrentIndex(m_printer->findText(ToQ(m_dialog.printer)));
        m_copies->setValue(m_dialog.copies);
        m_collate->setChecked(m_dialog.collate);
        m_all->setChecked(m_dialog.range == pf::PrintRange::All);
        m_selection->setChecked(m_dialog.range == pf::PrintRange::Selection);
        m_pages->setChecked(m_dialog.range == pf::PrintRange::Pages);
        const bool pages = m_dialog.minPage != 0 || m_dialog.maxPage != 0;
        m_pages->setEnabled(pages);
        for (QSpinBox* box : {m_from, m_to}) {
            box->setEnabled(pages);
            box->setRange(m_dialog.minPage, std::max(m_dialog.maxPage, m_dialog.minPage));
        }
        m_from->setValue(m_dialog.fromPage);
        m_to->setValue(m_dialog.toPage);
        m_landscape->setChecked(m_dialog.orientation == 2);
    }

    pf::PrintDialog& m_dialog;
    QComboBox* m_printer;
    QSpinBox* m_copies;
    QCheckBox* m_collate;
    QRadioButton *m_all, *m_selection, *m_pages;
    QSpinBox *m_from, *m_to;
    QCheckBox* m_landscape;
};

bool RunPrintDialog(pf::PrintDialog& dialog)
{
    PrintDialogView view(dialog);
    return UntilItFits(dialog, [&] {
        if (view.exec() != QDialog::Accepted)
            return false;
        view.Push();
        return true;
    });
}

void FillPopup(QMenu& menu, const pf::MenuItem& item)
{
    for (const auto& child : item.Children()) {
        if (!child->Visible())
            continue;
        if (child->IsSeparator()) {
            menu.addSeparator();
        } else if (!child->Children().empty()) {
            QMenu* sub = menu.addMenu(IconOf(child->Picture().get()), ToQ(child->Caption()));
            sub->setEnabled(child->Enabled());
            FillPopup(*sub, *child);
        } else {
            QAction* action = menu.addAction(IconOf(child->Picture().get()), ToQ(child->Caption()));
            action->setObjectName(ToQ(child->Key()));
            action->setEnabled(child->Enabled());
        }
    }
}

} // namespace

bool RunCommonDialog(pf::CommonDialog& dialog)
{
    if (auto* file = dynamic_cast<pf::FileDialog*>(&dialog))
        return RunFileDialog(*file);
    if (auto* folder = dynamic_cast<pf::FolderDialog*>(&dialog))
        return RunFolderDialog(*folder);
    if (auto* print = dynamic_cast<pf::PrintDialog*>(&dialog))
        return RunPrintDialog(*print);
    return false;
}

std::string RunPopupMenu(const pf::MenuItem& menu)
{
    QMenu view(OpeningWindow());
    view.setObjectName(ToQ(menu.Key()));
    FillPopup(view, menu);
    const QAction* picked = view.exec(QCursor::pos());
    return picked ? FromQ(picked->objectName()) : std::string();
}

} // namespace gui

#include "actions/ExportCSV.h"

#include "actions/ActionSave.h"
#include "common/ErrorHandling.h"
#include "engine/ExportCsv.h"
#include "platform/forms/FlexGrid.h"

#include <vector>

namespace actions {

namespace {
constexpr const char* kModule = "ExportCSV";
constexpr const char* kIconKey = "Icon";
} // namespace

void ExportCSV::Init(platform::runtime::Object* lParentPtr, const std::string&)
{
    common::ChildLink<ActionSave>::Init(lParentPtr);
}

void ExportCSV::Export(platform::forms::FlexGrid& fg, const std::string& File,
                       const platform::runtime::Variant&)
{
    common::Rethrowing(kModule, "IExport_Export", [&](int& nLine) {
        nLine = 10;
        engine::ExportCsv oWriter;
        // The outline column 0 only carries subtotal labels, which the file leaves out.
        std::vector<int> aColumns;
        for (int c = 1; c < fg.Cols(); ++c) {
            if (!fg.ColHidden(c) && fg.ColKey(c) != kIconKey)
                aColumns.push_back(c);
        }
        if (aColumns.empty())
            return;
        nLine = 20;
        std::vector<std::string> aCols(aColumns.size());
        for (int r = 0; r < fg.Rows(); ++r) {
            if (fg.IsSubtotal(r))
                continue;
            for (size_t i = 0; i < aColumns.size(); ++i)
                aCols[i] = fg.TextMatrix(r, aColumns[i]);
            oWriter.AddRow(aCols);
        }
        nLine = 30;
        if (oWriter.Count() != 0)
            oWriter.Export(File);
    });
}

} // namespace actions

#include "ReportFixture.h"

#include "platform/runtime/Array.h"

namespace rt = platform::runtime;

void ReportFixture::AddRecord(const std::vector<Value>& aValues, long lClass)
{
    auto oRecord = std::make_shared<engine::Record>();
    oRecord->SetClass(lClass);
    for (const auto& v : aValues) {
        auto oField = std::make_shared<engine::Field>();
        oField->Init(v.sKey, 0, v.lType, rt::Variant(), "", v.sKey);
        oField->SetFieldValue(v.vValue);
        oRecord->AppendField(oField);
    }
    oRecords->Append(oRecord);
}

rt::Variant ReportFixture::List(const std::vector<std::string>& aTexts)
{
    rt::Array a(rt::VarType::Variant, {rt::ArrayBounds{0, std::int32_t(aTexts.size()) - 1}});
    for (size_t i = 0; i < aTexts.size(); ++i) {
        a(std::int32_t(i)) = rt::Variant(aTexts[i]);
    }
    return rt::Variant(std::move(a));
}

void ReportFixture::Fill()
{
    grid::cGrid oGrid;
    oGrid.ShowItems(fg, oRecords, oView);
}

std::string ReportFixture::Row(int r) const
{
    std::string s = fg.IsSubtotal(r) ? "S" + std::to_string(fg.RowOutlineLevel(r)) : "D";
    for (int c = 0; c <= oView.oFields->Count(); ++c) {
        s += "|" + fg.TextMatrix(r, c);
    }
    return s;
}

std::vector<std::string> ReportFixture::Rows() const
{
    std::vector<std::string> a;
    for (int r = fg.FixedRows(); r < fg.Rows(); ++r) {
        a.push_back(Row(r));
    }
    return a;
}

std::vector<std::string> ReportFixture::Column(const std::string& sKey) const
{
    std::vector<std::string> a;
    const int c = fg.ColIndex(sKey);
    for (int r = fg.FixedRows(); r < fg.Rows(); ++r) {
        a.push_back(fg.TextMatrix(r, c));
    }
    return a;
}

// Values taken into properties of another type: numbers in texts and texts of numbers in the C
// notation, also under a process locale with a decimal comma.
#include "platform/mapi/detail/ValueConversion.h"
#include "platform/runtime/Error.h"
#include "platform/store/PropValue.h"
#include "tests/platform/ProcessLocale.h"

#include <gtest/gtest.h>

#include <string>

namespace platform::mapi::test {
namespace {

namespace rt = platform::runtime;
using detail::ToPropValueOfType;

TEST(ValueConversionTest, NumbersInTextsAreReadAndWrittenInTheCNotation)
{
    for (const char* sProcess : {"C", platformtest::kGermanProcessLocale}) {
        SCOPED_TRACE(sProcess);
        const platformtest::ProcessLocale oProcess(sProcess);
        ASSERT_TRUE(oProcess.Set()) << sProcess << " is not generated (scripts/install-deps.sh)";
        EXPECT_EQ(ToPropValueOfType(rt::Variant("12.5"), store::PT_DOUBLE), store::PropValue{12.5});
        EXPECT_EQ(ToPropValueOfType(rt::Variant("-2.5e2"), store::PT_LONG),
                  store::PropValue{std::int32_t{-250}});
        EXPECT_EQ(ToPropValueOfType(rt::Variant(2.25), store::PT_UNICODE),
                  store::PropValue{std::string("2.250000")});
        EXPECT_EQ(ToPropValueOfType(rt::Variant(7), store::PT_UNICODE),
                  store::PropValue{std::string("7")});
        for (const char* sBad : {"12,5", "12.5 ", "", "abc", "inf"}) {
            EXPECT_THROW(ToPropValueOfType(rt::Variant(sBad), store::PT_DOUBLE), rt::Error)
                << '"' << sBad << '"';
        }
    }
}

} // namespace
} // namespace platform::mapi::test

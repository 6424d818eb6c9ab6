#include "common/ErrorHandling.h"
#include "common/ErrorObjectOld.h"
#include "platform/runtime/Error.h"

#include <gtest/gtest.h>

namespace fieldcatalogue::test {
namespace {

namespace rt = platform::runtime;

// The error handling the catalogue's entry points run under, as the Juniper3 library carries
// it: its own name in the source chain, its title in the registry path, no log.
rt::Error RaisedThroughGetFields(std::int32_t lNumber)
{
    try {
        common::Rethrowing<common::ErrorObjectOld>("Application", "GetFields", [&](int& nLine) {
            nLine = 20;
            // Thrown as such: Raise itself turns number 0 into error 5.
            throw rt::Error(lNumber, "Caller", "Kaputt", "hilfe.chm", 7);
        });
    } catch (const rt::Error& oError) {
        return oError;
    }
    ADD_FAILURE() << "nothing was raised";
    return rt::Error(0);
}

TEST(LibraryErrorTest, SourceChainEndsWithTheCataloguesProcedure)
{
    struct Case
    {
        std::int32_t lRaised;
        std::int32_t lExpected;
    };
    for (const Case& oCase : {Case{13, 13}, Case{-2147221504 + 5, -2147221504 + 5},
                              Case{0, static_cast<std::int32_t>(0x800A0000u)}}) {
        SCOPED_TRACE(oCase.lRaised);
        const rt::Error oError = RaisedThroughGetFields(oCase.lRaised);
        EXPECT_EQ(oError.Number(), oCase.lExpected);
        EXPECT_EQ(oError.Source(), "Caller; Juniper3.Application.GetFields (20)");
        EXPECT_EQ(oError.Description(), "Kaputt");
        EXPECT_EQ(oError.HelpFile(), "hilfe.chm");
        EXPECT_EQ(oError.HelpContext(), 7);
    }
}

TEST(LibraryErrorTest, RegistryPathNamesTheCataloguesTitle)
{
    common::ErrorObjectOld oError;
    EXPECT_EQ(oError.GetRegistryPath(), "Software\\Kestrova\\Juniper615\\Settings\\");
    EXPECT_FALSE(oError.LogFileExists());
    EXPECT_EQ(oError.GetLogFileName(), "");
}

} // namespace
} // namespace fieldcatalogue::test

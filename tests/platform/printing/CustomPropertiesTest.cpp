#include "platform/printing/detail/CustomProperties.h"

#include <gtest/gtest.h>

#include <string>

namespace platform::printing::detail {
namespace {

struct Case
{
    const char* sWhat;
    const char* sSheet;
    const char* sExpected; // null: the sheet stays as it is
};

// The expected sheets are written out by hand from how a browser computes the properties.
const Case kCases[] = {
    {"declared in :root", ":root { --a: #123456; } td { background: var(--a); }",
     ":root { --a: #123456; } td { background: #123456; }"},
    {"declared in html and in body",
     "html { --a: red; } body { --b: blue; } p { color: var(--a); border-color: var(--b); }",
     "html { --a: red; } body { --b: blue; } p { color: red; border-color: blue; }"},
    {"used before it is declared", "td { background: var(--a); } :root { --a: #abc; }",
     "td { background: #abc; } :root { --a: #abc; }"},
    {"a selector list of the document's own", ":root, body { --a: 1px; } td { padding: var(--a); }",
     ":root, body { --a: 1px; } td { padding: 1px; }"},
    {"nested in a fallback",
     "td { border: 1px solid var(--missing, var(--a, black)); } :root { --a: green; }",
     "td { border: 1px solid green; } :root { --a: green; }"},
    {"a declared property refers to another",
     ":root { --b: var(--a) 2px; --a: 1px; } td { margin: var(--b); }",
     ":root { --b: var(--a) 2px; --a: 1px; } td { margin: 1px 2px; }"},
    {"declared nowhere keeps its fallback", "td { color: var(--none, #f00); }",
     "td { color: #f00; }"},
    {"fallback of a fallback", "td { margin: var(--x, var(--y, 2px)) 0; }", "td { margin: 2px 0; }"},
    {"an empty fallback", "td { margin: 0 var(--x,); }", "td { margin: 0 ; }"},
    {"declared nowhere and no fallback", "td { color: var(--none); }", nullptr},
    {"!important wins over a later one, and the use keeps its own",
     ":root { --a: red !important; --a: blue; } td { color: var(--a) ! IMPORTANT; }",
     ":root { --a: red !important; --a: blue; } td { color: red ! IMPORTANT; }"},
    {"the last one wins", ":root { --a: red; } :root { --a: blue; } td { color: var(--a); }",
     ":root { --a: red; } :root { --a: blue; } td { color: blue; }"},
    {"body's beats the root's below the body, not in the root's own rule",
     ":root { --a: red; color: var(--a); } body { --a: blue; } td { color: var(--a); }",
     ":root { --a: red; color: red; } body { --a: blue; } td { color: blue; }"},
    {"the body inherits what the root computed",
     ":root { --a: var(--b, red); } body { --b: blue; } td { color: var(--a); }",
     ":root { --a: var(--b, red); } body { --b: blue; } td { color: red; }"},
    {"declared by a rule of some elements", ":root { --a: red; } .x { --a: blue; } td { color: var(--a); }",
     nullptr},
    {"declared in a conditional rule",
     "@media print { :root { --a: blue; } } :root { --a: red; } td { color: var(--a); }", nullptr},
    {"used in a conditional rule", ":root { --a: red; } @media print { td { color: var(--a); } }",
     ":root { --a: red; } @media print { td { color: red; } }"},
    {"one unknown var() keeps the whole value",
     ":root { --a: red; } .x { --b: 1px; } td { border: var(--b) solid var(--a); }", nullptr},
    {"a cycle is invalid whatever its fallbacks",
     ":root { --a: var(--b, red); --b: var(--a, blue); } td { color: var(--a, green); }",
     ":root { --a: var(--b, red); --b: var(--a, blue); } td { color: green; }"},
    {"a cycle met from its other end",
     ":root { --a: var(--b, red); --b: var(--a, blue); } td { color: var(--b, green); }",
     ":root { --a: var(--b, red); --b: var(--a, blue); } td { color: green; }"},
    {"what depends on a cycle takes its fallback",
     ":root { --a: var(--a); --c: var(--a, 3px); } td { margin: var(--c); }",
     ":root { --a: var(--a); --c: var(--a, 3px); } td { margin: 3px; }"},
    {"comments and strings are no uses",
     "td { content: 'var(--a)'; /* var(--a) */ color: VAR( --a ); } :root { --a: red; }",
     "td { content: 'var(--a)'; /* var(--a) */ color: red; } :root { --a: red; }"},
    {"names are case-sensitive", ":root { --A: red; } td { color: var(--a, blue); }",
     ":root { --A: red; } td { color: blue; }"},
    {"a function that only ends in var", ":root { --a: red; } td { color: novar(--a); }", nullptr},
    {"a declaration in a comment declares nothing",
     ":root { /* --a: red; */ } td { color: var(--a, blue); }",
     ":root { /* --a: red; */ } td { color: blue; }"},
    {"a semicolon in a string ends no declaration",
     ":root { --a: 'x;y'; } td::before { content: var(--a); }",
     ":root { --a: 'x;y'; } td::before { content: 'x;y'; }"},
};

TEST(CustomPropertiesTest, VarsOfDocumentWidePropertiesBecomeTheirValues)
{
    for (const Case& c : kCases) {
        const std::string sExpected = c.sExpected ? c.sExpected : c.sSheet;
        EXPECT_EQ(ResolveCustomProperties(c.sSheet), sExpected) << c.sWhat;
    }
}

TEST(CustomPropertiesTest, APageIsResolvedAcrossItsStyleElementsAndOtherwiseLeftAsItIs)
{
    const std::string sPage =
        "<!DOCTYPE html>\n<html><head><STYLE type=\"text/css\">:root { --a: red; }</STYLE>\n"
        "<!-- <style>:root { --a: blue; }</style> -->\n"
        "<script>var s = '<style>:root { --a: green; }</style>';</script>\n"
        "<style>\n<!--\ntd { color: var(--a); }\n-->\n</style><stylesheet>\n"
        "</head><body><p style=\"x\">var(--a); td { color: var(--a); }</p></body></html>";
    const std::string sExpected =
        "<!DOCTYPE html>\n<html><head><STYLE type=\"text/css\">:root { --a: red; }</STYLE>\n"
        "<!-- <style>:root { --a: blue; }</style> -->\n"
        "<script>var s = '<style>:root { --a: green; }</style>';</script>\n"
        "<style>\n<!--\ntd { color: red; }\n-->\n</style><stylesheet>\n"
        "</head><body><p style=\"x\">var(--a); td { color: var(--a); }</p></body></html>";
    EXPECT_EQ(ResolveCustomPropertiesInPage(sPage), sExpected);
    const std::string sPlain = "<html><body><p>var(--a)</p></body></html>";
    EXPECT_EQ(ResolveCustomPropertiesInPage(sPlain), sPlain);
}

} // namespace
} // namespace platform::printing::detail

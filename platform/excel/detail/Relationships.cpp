// The relationships of a package's parts: what they name, and the removal of the parts of a
// kind that a filled workbook must not carry.
#include "platform/excel/detail/Relationships.h"

#include "platform/excel/detail/Raise.h"
#include "platform/runtime/Error.h"

#include <charconv>
#include <filesystem>
#include <functional>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace platform::excel::detail {
namespace {

// The part whose relationships the relationships part `rels` holds ("xl/_rels/workbook.xml.rels"
// those of "xl/workbook.xml"; "_rels/.rels" those of the package, said by ""); std::nullopt
// for a name of another form.
std::optional<std::string> SourceOfRels(const std::string& rels)
{
    const std::string folder = Folder(rels);
    const std::string folded = FoldedName(rels);
    if (!folded.ends_with(".rels") || !FoldedName(folder).ends_with("_rels/") ||
        (folder.size() > 6 && folder[folder.size() - 7] != '/')) {
        return std::nullopt;
    }
    const std::string name = rels.substr(folder.size(), rels.size() - folder.size() - 5);
    return folder.substr(0, folder.size() - 6) + name;
}

struct Relationship
{
    std::string rels; ///< the relationships part that holds it
    std::string id;
    std::string type;
    std::string target; ///< the part it names
    std::string given;  ///< its target as written
};

// The folded names of the package's parts as changed so far.
std::unordered_set<std::string> PresentParts(const Package& package)
{
    std::unordered_set<std::string> present;
    for (const std::string& name : package.PartNames()) {
        present.insert(FoldedName(name));
    }
    return present;
}

[[noreturn]] void RefuseCount(const char* english, const char* german, std::uint64_t bound)
{
    Raise(kMethodFailed,
          Say("the workbook package holds more ", "Das Arbeitsmappenpaket enthält mehr ") +
              Say(english, german) +
              Say(" than a workbook may hold: at most ",
                  ", als eine Arbeitsmappe enthalten darf: höchstens ") +
              std::to_string(bound));
}

// Calls `visit` for every relationship to a part of the package (not to an outside address),
// of the package and of each part that is there: the relationships of a missing part are
// read by no one. One relationships part is held at a time, and the relationships of all
// of them are bounded (kMaxRelationships).
void VisitInternalRelationships(const Package& package,
                                const std::function<void(const Relationship&)>& visit)
{
    const std::unordered_set<std::string> present = PresentParts(package);
    std::uint64_t count = 0;
    for (const std::string& name : package.PartNames()) {
        const auto source = SourceOfRels(name);
        if (!source || (!source->empty() && present.count(FoldedName(*source)) == 0)) {
            continue;
        }
        const pugi::xml_document rels = LoadRequired(package, name);
        for (pugi::xml_node rel : rels.child("Relationships").children("Relationship")) {
            if (++count > kMaxRelationships) {
                RefuseCount("relationships", "Beziehungen", kMaxRelationships);
            }
            if (FoldedName(rel.attribute("TargetMode").value()) == "external") {
                continue;
            }
            const std::string given = rel.attribute("Target").value();
            visit({name, rel.attribute("Id").value(), rel.attribute("Type").value(),
                   ResolveTarget(*source, given), given});
        }
    }
}

// The content-type list indexed: the overrides by folded part name ("/xl/workbook.xml") and
// the defaults by folded extension, each the first entry of its name as readers take it.
struct ContentTypes
{
    explicit ContentTypes(pugi::xml_node root)
    {
        for (pugi::xml_node entry : root.children("Override")) {
            overrides.emplace(FoldedName(entry.attribute("PartName").value()),
                              FoldedName(entry.attribute("ContentType").value()));
        }
        for (pugi::xml_node entry : root.children("Default")) {
            defaults.emplace(FoldedName(entry.attribute("Extension").value()),
                             FoldedName(entry.attribute("ContentType").value()));
        }
    }

    // The content type given part `part`: its override, or else the default for its
    // extension; in lower case, empty when none is given.
    std::string Of(const std::string& part) const
    {
        const std::string name = FoldedName("/" + part);
        if (const auto it = overrides.find(name); it != overrides.end()) {
            return it->second;
        }
        const auto dot = name.rfind('.');
        if (dot == std::string::npos || name.find('/', dot) != std::string::npos) {
            return {};
        }
        const auto it = defaults.find(name.substr(dot + 1));
        return it == defaults.end() ? std::string() : it->second;
    }

    // The extensions whose default some part of `parts` takes (one without an override): for
    // "a.tar.gz" both "tar.gz" and "gz".
    std::unordered_set<std::string> ExtensionsUsed(const std::vector<std::string>& parts) const
    {
        std::unordered_set<std::string> used;
        for (const std::string& part : parts) {
            const std::string name = FoldedName("/" + part);
            if (overrides.count(name) != 0) {
                continue;
            }
            const auto slash = name.rfind('/');
            for (auto dot = name.find('.', slash); dot != std::string::npos;
                 dot = name.find('.', dot + 1)) {
                used.insert(name.substr(dot + 1));
            }
        }
        return used;
    }

    std::unordered_map<std::string, std::string> overrides;
    std::unordered_map<std::string, std::string> defaults;
};

// Whether part `part` is one the package or the fill needs whatever the content-type list
// claims for it.
bool AlwaysNeeded(const std::string& part, const std::string& workbookPart)
{
    const std::string name = FoldedName(part);
    // A target of "/" or of a folder names no part: its relationships part would be those of
    // the package ("_rels/.rels") or of no one.
    return name.empty() || name.ends_with('/') || name == "[content_types].xml" ||
           name.ends_with(".rels") || name == FoldedName(workbookPart) ||
           name == FoldedName(Folder(workbookPart) + "styles.xml");
}

} // namespace

std::string Folder(const std::string& part)
{
    const auto slash = part.rfind('/');
    return slash == std::string::npos ? std::string() : part.substr(0, slash + 1);
}

std::string ResolveTarget(const std::string& base, std::string_view target)
{
    target = target.substr(0, target.find('#'));
    std::string decoded;
    for (std::size_t i = 0; i < target.size(); ++i) {
        unsigned value = 0;
        if (target[i] == '%' && i + 2 < target.size() &&
            std::from_chars(target.data() + i + 1, target.data() + i + 3, value, 16).ptr ==
                target.data() + i + 3) {
            decoded += static_cast<char>(value);
            i += 2;
        } else {
            decoded += target[i];
        }
    }
    if (!decoded.empty() && decoded[0] == '/') {
        return decoded.substr(1);
    }
    return (std::filesystem::path(Folder(base)) / decoded).lexically_normal().generic_string();
}

pugi::xml_document LoadRequired(const Package& package, const std::string& part)
{
    const auto data = package.Read(part);
    if (!data) {
        // A part of the name in other letters is another part to every reader.
        const auto other = package.OtherCaseName(part);
        Raise(kMethodFailed,
              Say("the workbook package lacks its part \"",
                  "Dem Arbeitsmappenpaket fehlt sein Teil \"") +
                  part + Say("\" (in \"", "\" (in \"") + package.Shown() + "\")" +
                  (other ? Say(": it holds \"", ": es enthält \"") + *other +
                               Say("\", which is another name, since the case of letters counts",
                                   "\", was ein anderer Name ist, da Groß- und Kleinschreibung "
                                   "zählt")
                         : std::string()));
    }
    pugi::xml_document doc;
    try {
        LoadPart(doc, *data, part);
    } catch (const platform::runtime::Error& e) {
        Raise(kMethodFailed, e.Description() + Say(" (in \"", " (in \"") + package.Shown() + "\")");
    }
    return doc;
}

std::string RelsOf(const std::string& part)
{
    const auto slash = part.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : part.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? part : part.substr(slash + 1);
    return folder + "_rels/" + name + ".rels";
}

void RefuseMissingTargets(const Package& package, const std::string& path)
{
    const std::unordered_set<std::string> present = PresentParts(package);
    // Without these two no reader finds a part at all.
    for (const char* required : {"[Content_Types].xml", "_rels/.rels"}) {
        if (present.count(FoldedName(required)) == 0) {
            Raise(kMethodFailed, Say("the template \"", "Die Vorlage \"") + path +
                                     Say("\" is not a whole workbook: it lacks its part \"",
                                         "\" ist keine vollständige Arbeitsmappe: ihr fehlt der "
                                         "Teil \"") +
                                     required + "\"");
        }
    }
    VisitInternalRelationships(package, [&](const Relationship& rel) {
        // Readers differ in whether they undo a percent escape and drop a fragment: the
        // report would land in a part that some of them do not find.
        if (rel.given.find_first_of("%#") != std::string::npos) {
            Raise(kMethodFailed,
                  Say("the template \"", "Die Vorlage \"") + path +
                      Say("\" is not a readable workbook: the relationship \"",
                          "\" ist keine lesbare Arbeitsmappe: die Beziehung \"") +
                      rel.id + Say("\" in its part \"", "\" in ihrem Teil \"") + rel.rels +
                      Say("\" names \"", "\" nennt \"") + rel.given +
                      Say("\", which is no part name (it holds \"%\" or \"#\")",
                          "\", was kein Teilname ist (es enthält \"%\" oder \"#\")"));
        }
        if (present.count(FoldedName(rel.target)) == 0) {
            Raise(kMethodFailed,
                  Say("the template \"", "Die Vorlage \"") + path +
                      Say("\" is not a whole workbook: the relationship \"",
                          "\" ist keine vollständige Arbeitsmappe: die Beziehung \"") +
                      rel.id + Say("\" in its part \"", "\" in ihrem Teil \"") + rel.rels +
                      Say("\" names the part \"", "\" nennt den Teil \"") + rel.target +
                      Say("\", which it lacks", "\", der ihr fehlt"));
        }
    });
}

void RemoveRelatedPart(Package& package, const std::string& workbookPart,
                       const RemovableKind& removable)
{
    const std::string relsPart = RelsOf(workbookPart);
    const auto data = package.Read(relsPart);
    if (!data) {
        return;
    }
    pugi::xml_document rels;
    LoadPart(rels, *data, relsPart);
    pugi::xml_node root = rels.child("Relationships");
    const std::string_view kind = removable.kind;
    bool any = false;
    std::vector<std::string> targets;
    for (pugi::xml_node rel = root.first_child(); rel;) {
        pugi::xml_node next = rel.next_sibling();
        const std::string_view type = rel.attribute("Type").value();
        if (type.size() > kind.size() && type.ends_with(kind) &&
            type[type.size() - kind.size() - 1] == '/') {
            if (FoldedName(rel.attribute("TargetMode").value()) != "external") {
                targets.push_back(ResolveTarget(workbookPart, rel.attribute("Target").value()));
            }
            root.remove_child(rel);
            any = true;
        }
        rel = next;
    }
    if (!any) {
        return;
    }
    package.Write(relsPart, SavePart(rels));
    pugi::xml_document types;
    LoadPart(types, package.Read("[Content_Types].xml").value_or(""), "[Content_Types].xml");
    pugi::xml_node typesRoot = types.child("Types");
    ContentTypes index(typesRoot);
    std::unordered_set<std::string> named;
    VisitInternalRelationships(
        package, [&](const Relationship& rel) { named.insert(FoldedName(rel.target)); });
    std::unordered_set<std::string> removed;
    for (const std::string& part : targets) {
        if (index.Of(part) != removable.contentType || named.count(FoldedName(part)) != 0 ||
            AlwaysNeeded(part, workbookPart)) {
            continue;
        }
        package.Remove(part);
        package.Remove(RelsOf(part));
        removed.insert(FoldedName("/" + part));
    }
    for (pugi::xml_node entry = typesRoot.child("Override"); entry;) {
        pugi::xml_node next = entry.next_sibling("Override");
        if (removed.count(FoldedName(entry.attribute("PartName").value())) != 0) {
            typesRoot.remove_child(entry);
        }
        entry = next;
    }
    for (const std::string& name : removed) {
        index.overrides.erase(name);
    }
    // A default by extension that served only the removed parts ("bin" for a macro project).
    const std::unordered_set<std::string> used = index.ExtensionsUsed(package.PartNames());
    for (pugi::xml_node entry = typesRoot.child("Default"); entry;) {
        pugi::xml_node next = entry.next_sibling("Default");
        const std::string extension = FoldedName(entry.attribute("Extension").value());
        if (used.count(extension) == 0 &&
            FoldedName(entry.attribute("ContentType").value()) == removable.contentType) {
            typesRoot.remove_child(entry);
        }
        entry = next;
    }
    package.Write("[Content_Types].xml", SavePart(types));
}

} // namespace platform::excel::detail

#include "platform/excel/detail/Package.h"

#include "platform/excel/detail/Raise.h"
#include "platform/excel/detail/Writers.h"
#include "platform/runtime/Strings.h"

#include <libxml/parser.h>
#include <libxml/xmlerror.h>
#include <libxml/xmlreader.h>
#include <pugixml.hpp>
#include <zip.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <new>
#include <set>
#include <string_view>

namespace platform::excel::detail {
namespace {

// A part is read in pieces of this size.
constexpr std::size_t kChunkBytes = std::size_t(64) << 10;

// What the parts that are read may unpack to. A template's parts hold kilobytes to a few
// megabytes; these bounds leave room for large ones and keep a compression bomb (a few
// kilobytes that unpack to gigabytes) from taking the machine's memory and minutes of time.
constexpr zip_uint64_t kMegabyte = zip_uint64_t(1) << 20;
constexpr zip_uint64_t kPartBytes = 32 * kMegabyte;
constexpr zip_uint64_t kTotalBytes = 128 * kMegabyte;
// Above this size a part may unpack to at most kRatio times its packed size; XML packs to
// about a tenth, a sheet of repeated rows to a fiftieth, blanks to a thousandth.
constexpr zip_uint64_t kRatioFrom = 4 * kMegabyte;
constexpr zip_uint64_t kRatio = 100;

struct FileCloser
{
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};

std::string Megabytes(zip_uint64_t bytes)
{
    return std::to_string((bytes + kMegabyte - 1) / kMegabyte) + " MB";
}

// The zip library's reason for a failure, in the user's language for the common ones.
std::string ZipReason(zip_error_t& error)
{
    struct Reason
    {
        int code;
        const char* german;
    };
    static constexpr Reason kReasons[] = {
        {ZIP_ER_NOENT, "die Datei existiert nicht"},
        {ZIP_ER_NOZIP, "es ist kein ZIP-Archiv"},
        {ZIP_ER_OPEN, "die Datei kann nicht geöffnet werden"},
        {ZIP_ER_READ, "beim Lesen trat ein Fehler auf"},
        {ZIP_ER_WRITE, "beim Schreiben trat ein Fehler auf"},
        {ZIP_ER_INCONS, "das ZIP-Archiv ist beschädigt"},
        {ZIP_ER_CRC, "die Prüfsumme der Daten stimmt nicht"},
        {ZIP_ER_MEMORY, "der Speicher reicht nicht"},
        {ZIP_ER_TMPOPEN, "die temporäre Datei kann nicht angelegt werden"},
        {ZIP_ER_RENAME, "die temporäre Datei kann nicht umbenannt werden"},
        {ZIP_ER_CLOSE, "die Datei kann nicht geschlossen werden"},
        {ZIP_ER_RDONLY, "das Archiv ist schreibgeschützt"},
    };
    if (German()) {
        for (const Reason& reason : kReasons) {
            if (zip_error_code_zip(&error) == reason.code) {
                return reason.german;
            }
        }
        return "ZIP-Fehler " + std::to_string(zip_error_code_zip(&error)) + " (" +
               zip_error_strerror(&error) + ")";
    }
    return zip_error_strerror(&error);
}

// Keeps the first error of an XML reader (warnings do not end the reading), with its line.
void KeepFirstFault(void* context, xmlErrorPtr error)
{
    auto& fault = *static_cast<std::optional<std::string>*>(context);
    if (fault || error == nullptr || error->level < XML_ERR_ERROR) {
        return;
    }
    std::string text = error->message != nullptr ? error->message : "no XML";
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) {
        text.pop_back();
    }
    if (error->line > 0) {
        text += " (line " + std::to_string(error->line) + ")";
    }
    fault = std::move(text);
}

// Collects a saved part. The parser hands a character reference "&#13;" on as a carriage
// return, which the writer would put out as it is, and every reader turns a raw one into a
// line feed: it goes out as the reference again. A raw carriage return in the source never
// reaches the tree (the parser turns it into a line feed), so each one here stood for a
// reference.
struct CarriageReturnKeeper : pugi::xml_writer
{
    void write(const void* data, std::size_t size) override
    {
        const std::string_view bytes(static_cast<const char*>(data), size);
        std::size_t from = 0;
        for (std::size_t at = bytes.find('\r'); at != std::string_view::npos;
             at = bytes.find('\r', from)) {
            text.append(bytes.substr(from, at - from));
            text += "&#13;";
            from = at + 1;
        }
        text.append(bytes.substr(from));
    }
    std::string text;
};

} // namespace

std::string FoldedName(std::string_view name)
{
    std::string folded(name);
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return folded;
}

struct Package::Handle
{
    ~Handle()
    {
        if (zip != nullptr) {
            zip_discard(zip);
        }
    }
    zip_t* zip = nullptr;
};

Package::Package(const std::string& path) : handle_(std::make_unique<Handle>()), path_(path)
{
    int error = 0;
    handle_->zip = zip_open(path.c_str(), 0, &error);
    if (handle_->zip == nullptr) {
        zip_error_t ze;
        zip_error_init_with_code(&ze, error);
        const std::string reason = ZipReason(ze);
        zip_error_fini(&ze);
        Raise(kMethodFailed, "\"" + path + "\"" +
                                 Say(" is not a readable workbook package: ",
                                     " ist kein lesbares Arbeitsmappenpaket: ") +
                                 reason);
    }
    RefuseRepeatedNames();
}

Package::~Package() = default;

void Package::RefuseRepeatedNames() const
{
    // Readers differ in which of two entries of one name they take (the first, the last):
    // such a package would show one reader the report and another the template.
    std::set<std::string> seen;
    for (const std::string& name : PartNames()) {
        if (!name.ends_with('/') && !seen.insert(FoldedName(name)).second) {
            Raise(kMethodFailed,
                  "\"" + path_ + "\"" +
                      Say(" is not a readable workbook package: it holds the part \"",
                          " ist kein lesbares Arbeitsmappenpaket: es enthält den "
                          "Teil \"") +
                      name + Say("\" more than once", "\" mehr als einmal"));
        }
    }
}

void Package::RefuseUnpackedSize(const std::string& name, std::uint64_t size,
                                 std::uint64_t packed) const
{
    if (unpacked_.count(FoldedName(name)) != 0) {
        return; // read before, and counted then
    }
    const bool tooLarge = size > kPartBytes || (size > kRatioFrom && size / kRatio > packed);
    if (!tooLarge && unpackedTotal_ + size <= kTotalBytes) {
        unpacked_.emplace(FoldedName(name), size);
        unpackedTotal_ += size;
        return;
    }
    const std::string said =
        size > kPartBytes
            ? Say("\" unpacks to ", "\" wird entpackt ") + Megabytes(size) +
                  Say("; a part may take at most ", " groß; ein Teil darf höchstens ") +
                  Megabytes(kPartBytes) + Say("", " groß sein")
        : tooLarge ? Say("\" unpacks from ", "\" wird von ") + std::to_string(packed / 1024 + 1) +
                         Say(" KB to ", " KB auf ") + Megabytes(size) + Say("", " entpackt")
                   : Say("\" would bring all parts read together to ",
                         "\" brächte alle gelesenen Teile zusammen auf ") +
                         Megabytes(unpackedTotal_ + size) +
                         Say(", and they may take at most ", ", und sie dürfen höchstens ") +
                         Megabytes(kTotalBytes) + Say("", " groß sein");
    Raise(kMethodFailed, "\"" + path_ +
                             Say("\" is too large once unpacked: its part \"",
                                 "\" ist entpackt zu groß: sein Teil \"") +
                             name + said);
}

std::optional<std::string> Package::Read(const std::string& name) const
{
    if (const auto it = pending_.find(name); it != pending_.end()) {
        return it->second;
    }
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat(handle_->zip, name.c_str(), 0, &st) != 0) {
        return std::nullopt;
    }
    RefuseUnpackedSize(name, st.size, st.comp_size);
    const std::unique_ptr<zip_file_t, FileCloser> file(zip_fopen(handle_->zip, name.c_str(), 0));
    if (!file) {
        Raise(kMethodFailed, Say("cannot read \"", "\"") + name + Say("\" of \"", "\" aus \"") +
                                 path_ + Say("\"", "\" kann nicht gelesen werden"));
    }
    // The declared size is only a claim of the archive: a damaged one may declare more than
    // its data holds, or a few bytes for gigabytes. No more than the declared size (within
    // the bounds checked above) is reserved or read, and an entry whose data ends before or
    // after its declared size is refused.
    std::string data;
    data.reserve(static_cast<std::size_t>(st.size));
    std::string chunk(kChunkBytes, '\0');
    zip_int64_t n = 0;
    while (data.size() < st.size &&
           (n = zip_fread(file.get(), chunk.data(),
                          std::min<zip_uint64_t>(chunk.size(), st.size - data.size()))) > 0) {
        data.append(chunk.data(), static_cast<std::size_t>(n));
    }
    if (n >= 0 && data.size() == st.size) {
        // The data must end where it was declared to (its checksum is tested there).
        n = zip_fread(file.get(), chunk.data(), chunk.size());
    }
    if (n != 0 || data.size() != st.size) {
        const std::string reason =
            n < 0 ? ZipReason(*zip_file_get_error(file.get()))
                  : Say("its data does not have the size the package declares",
                        "seine Daten haben nicht die Größe, die das Paket angibt");
        Raise(kMethodFailed, Say("cannot read \"", "\"") + name + Say("\" of \"", "\" aus \"") +
                                 path_ + Say("\": ", "\" kann nicht gelesen werden: ") + reason);
    }
    return data;
}

void Package::Write(const std::string& name, std::string data)
{
    pending_[name] = std::move(data);
}

void Package::Remove(const std::string& name)
{
    pending_.erase(name);
    // The archive finds a name in other letter case only by going through all of them: the
    // entries are indexed by folded name once (removing one keeps the others' indexes).
    if (!folded_) {
        folded_.emplace();
        const zip_int64_t count = zip_get_num_entries(handle_->zip, 0);
        for (zip_int64_t i = 0; i < count; ++i) {
            if (const char* entry = zip_get_name(handle_->zip, static_cast<zip_uint64_t>(i), 0)) {
                folded_->emplace(FoldedName(entry), static_cast<zip_uint64_t>(i));
            }
        }
    }
    const auto it = folded_->find(FoldedName(name));
    if (it != folded_->end()) {
        zip_delete(handle_->zip, it->second);
        folded_->erase(it);
    }
}

std::vector<std::string> Package::PartNames() const
{
    std::vector<std::string> names;
    const zip_int64_t count = zip_get_num_entries(handle_->zip, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        // A removed entry has no name any more.
        if (const char* name = zip_get_name(handle_->zip, static_cast<zip_uint64_t>(i), 0)) {
            names.emplace_back(name);
        }
    }
    for (const auto& [name, data] : pending_) {
        if (zip_name_locate(handle_->zip, name.c_str(), 0) < 0) {
            names.push_back(name);
        }
    }
    return names;
}

void Package::RefuseWrittenSize() const
{
    // What a reading of the package as written takes: the parts read so far, as changed, and
    // the changed ones.
    std::map<std::string, std::uint64_t> sizes = unpacked_;
    for (const auto& [name, data] : pending_) {
        sizes[FoldedName(name)] = data.size();
    }
    std::uint64_t total = 0;
    for (const auto& [name, size] : sizes) {
        total += size;
    }
    const auto refuse = [&](const std::string& why) {
        Raise(kMethodFailed,
              Say("cannot write \"", "\"") + path_ +
                  Say("\": ", "\" kann nicht geschrieben werden: ") + why +
                  Say("; it would not open again", "; es ließe sich nicht wieder öffnen"));
    };
    for (const auto& [name, data] : pending_) {
        if (data.size() > kPartBytes) {
            refuse(Say("its part \"", "sein Teil \"") + name + Say("\" would take ", "\" wäre ") +
                   Megabytes(data.size()) +
                   Say("; a part may take at most ", " groß; ein Teil darf höchstens ") +
                   Megabytes(kPartBytes) + Say("", " groß sein"));
        }
    }
    if (total > kTotalBytes) {
        refuse(Say("the parts read would take ", "die gelesenen Teile wären zusammen ") +
               Megabytes(total) +
               Say(" together; they may take at most ", " groß; sie dürfen höchstens ") +
               Megabytes(kTotalBytes) + Say("", " groß sein"));
    }
}

void Package::Commit()
{
    // The changed parts are checked as any reader would take them, and within the bounds of
    // reading: a package that would not open again, here or elsewhere, is never written.
    RefuseWrittenSize();
    for (const auto& [name, data] : pending_) {
        if (!name.ends_with(".xml") && !name.ends_with(".rels")) {
            continue;
        }
        const XmlSurvey survey = SurveyXml(data);
        if (survey.fault) {
            Raise(kMethodFailed,
                  Say("cannot write \"", "\"") + path_ +
                      Say("\": its part \"", "\" kann nicht geschrieben werden: sein Teil \"") +
                      name +
                      Say("\" would not be well-formed XML: ", "\" wäre kein wohlgeformtes XML: ") +
                      *survey.fault);
        }
        if (survey.nodes > kMaxPartNodes) {
            Raise(kMethodFailed,
                  Say("cannot write \"", "\"") + path_ +
                      Say("\": its part \"", "\" kann nicht geschrieben werden: sein Teil \"") +
                      name + Say("\" would hold ", "\" enthielte ") + std::to_string(survey.nodes) +
                      Say(" XML elements and attributes; a part may hold ",
                          " XML-Elemente und -Attribute; ein Teil darf ") +
                      std::to_string(kMaxPartNodes) + Say("", " enthalten"));
        }
    }
    for (const auto& [name, data] : pending_) {
        zip_source_t* source = zip_source_buffer(handle_->zip, data.data(), data.size(), 0);
        if (source == nullptr || zip_file_add(handle_->zip, name.c_str(), source,
                                              ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8) < 0) {
            if (source != nullptr) {
                zip_source_free(source);
            }
            Raise(kMethodFailed, Say("cannot write \"", "\"") + name +
                                     Say("\" into \"", "\" kann nicht in \"") + path_ +
                                     Say("\": ", "\" geschrieben werden: ") +
                                     ZipReason(*zip_get_error(handle_->zip)));
        }
    }
    if (zip_close(handle_->zip) != 0) {
        const std::string reason = ZipReason(*zip_get_error(handle_->zip));
        Raise(kMethodFailed, Say("cannot write \"", "\"") + path_ +
                                 Say("\": ", "\" kann nicht geschrieben werden: ") + reason);
    }
    handle_->zip = nullptr;
    RefuseWrittenRatio();
}

void Package::RefuseWrittenRatio() const
{
    // How far a changed part packs is known only once it is written: one that packs as a
    // bomb does would be refused when the file is read again.
    int error = 0;
    zip_t* written = zip_open(path_.c_str(), ZIP_RDONLY, &error);
    if (written == nullptr) {
        return; // the next reading says why
    }
    std::string refused;
    zip_uint64_t size = 0;
    zip_uint64_t packed = 0;
    for (const auto& [name, data] : pending_) {
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat(written, name.c_str(), 0, &st) == 0 && st.size > kRatioFrom &&
            st.size / kRatio > st.comp_size) {
            refused = name;
            size = st.size;
            packed = st.comp_size;
            break;
        }
    }
    zip_discard(written);
    if (!refused.empty()) {
        Raise(kMethodFailed,
              Say("cannot write \"", "\"") + path_ +
                  Say("\": its part \"", "\" kann nicht geschrieben werden: sein Teil \"") +
                  refused + Say("\" would unpack from ", "\" würde von ") +
                  std::to_string(packed / 1024 + 1) + Say(" KB to ", " KB auf ") + Megabytes(size) +
                  Say(", which a reading takes for a bomb", " entpackt, was ein Lesen für eine "
                                                            "Bombe hält"));
    }
}

namespace {

// What keeps a part from being read, in the user's language: the XML library says it in
// English only.
std::string ParseFault(const pugi::xml_parse_result& result, const std::string& data)
{
    const bool blank = data.find_first_not_of(" \t\r\n") == std::string::npos;
    switch (result.status) {
    case pugi::status_out_of_memory:
        return Say("there is not enough memory to read it",
                   "der Arbeitsspeicher reicht nicht aus, um ihn zu lesen");
    case pugi::status_no_document_element:
        // Text in an encoding XML readers do not take (EBCDIC, say) looks to the library
        // like text without an element.
        if (blank) {
            return Say("it holds no XML element", "er enthält kein XML-Element");
        }
        [[fallthrough]];
    default:
        return Say("it is no XML that can be read (at byte ",
                   "er ist kein lesbares XML (an Byte ") +
               std::to_string(result.offset) +
               Say("); a part must be XML in UTF-8 or UTF-16",
                   "); ein Teil muss XML in UTF-8 oder UTF-16 sein");
    }
}

} // namespace

std::optional<std::string> Package::OtherCaseName(const std::string& name) const
{
    const std::string folded = FoldedName(name);
    for (const std::string& other : PartNames()) {
        if (other != name && FoldedName(other) == folded) {
            return other;
        }
    }
    return std::nullopt;
}

void LoadPart(pugi::xml_document& doc, const std::string& data, const std::string& part)
{
    const pugi::xml_parse_result result = doc.load_buffer(
        data.data(), data.size(),
        pugi::parse_default | pugi::parse_declaration | pugi::parse_ws_pcdata_single);
    if (!result) {
        Raise(kMethodFailed, Say("the part \"", "Der Teil \"") + part +
                                 Say("\" cannot be read: ", "\" kann nicht gelesen werden: ") +
                                 ParseFault(result, data));
    }
    // The parser holds the text as UTF-8 whatever the part was stored in (UTF-16, say), and
    // it is saved so; its declaration must then say so too.
    for (pugi::xml_node node : doc.children()) {
        if (node.type() != pugi::node_declaration) {
            continue;
        }
        pugi::xml_attribute encoding = node.attribute("encoding");
        if (encoding && platform::runtime::LCase(encoding.value()) != "utf-8") {
            encoding.set_value("UTF-8");
        }
        break;
    }
}

XmlSurvey SurveyXml(const std::string& data)
{
    XmlSurvey survey;
    if (data.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        survey.fault = "more text than an XML reader takes";
        return survey;
    }
    // A reader that walks the text as a stream, node by node, and stops at the first fault of
    // well-formedness; it neither loads a DTD nor reaches the network, and its messages go
    // nowhere but into the answer. A tree of the whole part would take many times its size.
    const xmlTextReaderPtr reader =
        xmlReaderForMemory(data.data(), static_cast<int>(data.size()), nullptr, nullptr,
                           XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    if (reader == nullptr) {
        throw std::bad_alloc();
    }
    xmlTextReaderSetStructuredErrorHandler(reader, KeepFirstFault, &survey.fault);
    int result = 0;
    while ((result = xmlTextReaderRead(reader)) == 1) {
        if (xmlTextReaderNodeType(reader) == XML_READER_TYPE_ELEMENT) {
            survey.nodes +=
                1 + static_cast<std::uint64_t>(std::max(0, xmlTextReaderAttributeCount(reader)));
        }
    }
    xmlFreeTextReader(reader);
    if (result < 0 && !survey.fault) {
        survey.fault = "no XML";
    }
    return survey;
}

std::optional<std::string> WellFormedFault(const std::string& data)
{
    return SurveyXml(data).fault;
}

std::string SavePart(const pugi::xml_document& doc)
{
    CarriageReturnKeeper out;
    doc.save(out, "", pugi::format_raw | pugi::format_no_declaration);
    return std::move(out.text);
}

void SetContentType(Package& package, const std::string& partName, const std::string& contentType)
{
    const auto types = package.Read("[Content_Types].xml");
    if (!types) {
        Raise(kMethodFailed, Say("the workbook package has no content-type list",
                                 "Dem Arbeitsmappenpaket fehlt die Liste der Inhaltstypen"));
    }
    pugi::xml_document doc;
    LoadPart(doc, *types, "[Content_Types].xml");
    pugi::xml_node override =
        doc.child("Types").find_child_by_attribute("Override", "PartName", partName.c_str());
    if (!override) {
        Raise(kMethodFailed, Say("the workbook package names no part \"",
                                 "Das Arbeitsmappenpaket nennt keinen Teil \"") +
                                 partName + "\"");
    }
    override.attribute("ContentType").set_value(contentType.c_str());
    package.Write("[Content_Types].xml", SavePart(doc));
}

void SetWorkbookContentType(const std::string& path, const std::string& contentType)
{
    Package package(path);
    SetContentType(package, "/xl/workbook.xml", contentType);
    package.Commit();
}

} // namespace platform::excel::detail

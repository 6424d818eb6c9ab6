#include "platform/excel/detail/Package.h"

#include "platform/excel/detail/Raise.h"
#include "platform/excel/detail/Writers.h"
#include "platform/runtime/Strings.h"

#include <libxml/parser.h>
#include <libxml/xmlerror.h>
#include <pugixml.hpp>
#include <zip.h>

#include <algorithm>
#include <memory>
#include <new>
#include <sstream>

namespace platform::excel::detail {
namespace {

// A part is read in pieces of this size, and no more than this is reserved ahead of the data.
constexpr std::size_t kChunkBytes = std::size_t(64) << 10;
constexpr zip_uint64_t kReserveAtMost = zip_uint64_t(1) << 20;

struct FileCloser
{
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};

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

} // namespace

struct Package::Handle
{
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
}

Package::~Package()
{
    if (handle_->zip != nullptr) {
        zip_discard(handle_->zip);
    }
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
    const std::unique_ptr<zip_file_t, FileCloser> file(zip_fopen(handle_->zip, name.c_str(), 0));
    if (!file) {
        Raise(kMethodFailed, Say("cannot read \"", "\"") + name + Say("\" of \"", "\" aus \"") +
                                 path_ + Say("\"", "\" kann nicht gelesen werden"));
    }
    // The declared size is only a claim of the archive: a damaged one may declare gigabytes
    // for a few bytes of data. What is kept grows with what the entry really gives, and an
    // entry whose data ends before or after its declared size is refused.
    std::string data;
    data.reserve(static_cast<std::size_t>(std::min<zip_uint64_t>(st.size, kReserveAtMost)));
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
    const zip_int64_t index = zip_name_locate(handle_->zip, name.c_str(), 0);
    if (index >= 0) {
        zip_delete(handle_->zip, static_cast<zip_uint64_t>(index));
    }
}

std::vector<std::string> Package::PartNames() const
{
    std::vector<std::string> names;
    const zip_int64_t count = zip_get_num_entries(handle_->zip, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        if (const char* name = zip_get_name(handle_->zip, static_cast<zip_uint64_t>(i), 0)) {
            names.emplace_back(name);
        }
    }
    return names;
}

void Package::Commit()
{
    // The changed parts are checked as any reader would take them: a package that would not
    // open again is never written.
    for (const auto& [name, data] : pending_) {
        if (!name.ends_with(".xml") && !name.ends_with(".rels")) {
            continue;
        }
        if (const auto fault = WellFormedFault(data)) {
            Raise(kMethodFailed,
                  Say("cannot write \"", "\"") + path_ +
                      Say("\": its part \"", "\" kann nicht geschrieben werden: sein Teil \"") +
                      name +
                      Say("\" would not be well-formed XML: ", "\" wäre kein wohlgeformtes XML: ") +
                      *fault);
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
}

void LoadPart(pugi::xml_document& doc, const std::string& data, const std::string& what)
{
    const pugi::xml_parse_result result = doc.load_buffer(
        data.data(), data.size(),
        pugi::parse_default | pugi::parse_declaration | pugi::parse_ws_pcdata_single);
    if (!result) {
        Raise(kMethodFailed, what + " cannot be read: " + result.description());
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

std::optional<std::string> WellFormedFault(const std::string& data)
{
    // A parser that stops at the first fault of well-formedness; it neither loads a DTD nor
    // reaches the network, and its messages go nowhere but into the answer.
    xmlParserCtxtPtr context = xmlNewParserCtxt();
    if (context == nullptr) {
        throw std::bad_alloc();
    }
    const xmlDocPtr doc =
        xmlCtxtReadMemory(context, data.data(), static_cast<int>(data.size()), nullptr, nullptr,
                          XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    std::optional<std::string> reason;
    if (doc == nullptr || !context->wellFormed) {
        const xmlError* error = xmlCtxtGetLastError(context);
        std::string text =
            error != nullptr && error->message != nullptr ? error->message : "no XML";
        while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) {
            text.pop_back();
        }
        if (error != nullptr && error->line > 0) {
            text += " (line " + std::to_string(error->line) + ")";
        }
        reason = std::move(text);
    }
    xmlFreeDoc(doc);
    xmlFreeParserCtxt(context);
    return reason;
}

std::string SavePart(const pugi::xml_document& doc)
{
    std::ostringstream out;
    doc.save(out, "", pugi::format_raw | pugi::format_no_declaration);
    return out.str();
}

void SetContentType(Package& package, const std::string& partName, const std::string& contentType)
{
    const auto types = package.Read("[Content_Types].xml");
    if (!types) {
        Raise(kMethodFailed, "the workbook package has no content-type list");
    }
    pugi::xml_document doc;
    LoadPart(doc, *types, "the content-type list");
    pugi::xml_node override =
        doc.child("Types").find_child_by_attribute("Override", "PartName", partName.c_str());
    if (!override) {
        Raise(kMethodFailed, "the workbook package names no part \"" + partName + "\"");
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

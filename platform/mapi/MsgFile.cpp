#include "platform/mapi/MsgFile.h"

#include "platform/win/FileIo.h"

#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-memory.h>
#include <gsf/gsf-utils.h>
#include <unicode/unistr.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <string_view>
#include <system_error>

namespace platform::mapi {

namespace {

using Bytes = std::vector<std::uint8_t>;
using store::PropTag;
using store::PropValue;

constexpr std::uint16_t kUnicode = 0x001F;
constexpr std::uint16_t kBinary = 0x0102;
constexpr PropTag kMessageClass = 0x001A001F;
constexpr PropTag kRtfBody = 0x1009001E;
constexpr PropTag kRtfCompressed = 0x10090102;
// Readable and writable, as the client marks every property it saves.
constexpr std::uint32_t kPropertyFlags = 6;

template <typename T> struct Unref
{
    void operator()(T* p) const
    {
        if (p)
            g_object_unref(p);
    }
};

void Put32(Bytes& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void Put64(Bytes& out, std::uint64_t v)
{
    Put32(out, static_cast<std::uint32_t>(v));
    Put32(out, static_cast<std::uint32_t>(v >> 32));
}

Bytes Utf16(const std::string& text)
{
    const auto u = icu::UnicodeString::fromUTF8(text);
    Bytes out;
    out.reserve(static_cast<std::size_t>(u.length()) * 2 + 2);
    for (int32_t i = 0; i < u.length(); ++i) {
        out.push_back(static_cast<std::uint8_t>(u.charAt(i) & 0xFF));
        out.push_back(static_cast<std::uint8_t>(u.charAt(i) >> 8));
    }
    out.push_back(0);
    out.push_back(0);
    return out;
}

// The RTF text as the compressed-RTF property holds it uncompressed ("MELA", no checksum).
Bytes StoredRtf(const std::string& rtf)
{
    Bytes out;
    Put32(out, static_cast<std::uint32_t>(rtf.size() + 12));
    Put32(out, static_cast<std::uint32_t>(rtf.size()));
    Put32(out, 0x414C454D);
    Put32(out, 0);
    out.insert(out.end(), rtf.begin(), rtf.end());
    return out;
}

/// One storage of the file: the property stream's entries and the streams of variable-length
/// values.
class Storage
{
public:
    explicit Storage(GsfOutfile* dir) : m_dir(dir) {}

    void Text(std::uint16_t id, const std::string& text)
    {
        Variable((static_cast<PropTag>(id) << 16) | kUnicode, Utf16(text));
    }
    void Long(std::uint16_t id, std::int32_t value)
    {
        Fixed((static_cast<PropTag>(id) << 16) | 0x0003, static_cast<std::uint32_t>(value));
    }
    void Binary(std::uint16_t id, const Bytes& bytes)
    {
        Variable((static_cast<PropTag>(id) << 16) | kBinary, bytes);
    }

    // Writes one property in the file's form; false for a type the file cannot carry.
    bool Value(PropTag tag, const PropValue& value)
    {
        const auto id = static_cast<std::uint16_t>(tag >> 16);
        if (const auto* v = std::get_if<std::int32_t>(&value))
            Long(id, *v);
        else if (const auto* b = std::get_if<bool>(&value))
            Fixed((tag & 0xFFFF0000u) | 0x000B, *b ? 1u : 0u);
        else if (const auto* d = std::get_if<double>(&value)) {
            std::uint64_t bits;
            std::memcpy(&bits, d, sizeof bits);
            Entry((tag & 0xFFFF0000u) | 0x0005, bits);
        } else if (const auto* t = std::get_if<store::SysTime>(&value))
            Entry((tag & 0xFFFF0000u) | 0x0040,
                  static_cast<std::uint64_t>((t->seconds + 11644473600LL) * 10000000LL));
        else if (const auto* s = std::get_if<std::string>(&value))
            Text(id, *s);
        else if (const auto* bin = std::get_if<store::Binary>(&value))
            Binary(id, bin->bytes);
        else
            return false;
        return true;
    }

    // The property stream with a header of `headerSize` bytes (32 for the message, where it
    // counts recipients and attachments; 8 for the storages below it).
    void Close(std::size_t headerSize, std::uint32_t recipients, std::uint32_t attachments)
    {
        Bytes header(8, 0);
        if (headerSize == 32) {
            Put32(header, recipients);
            Put32(header, attachments);
            Put32(header, recipients);
            Put32(header, attachments);
            header.resize(32, 0);
        }
        header.insert(header.end(), m_entries.begin(), m_entries.end());
        Stream(m_dir, "__properties_version1.0", header);
    }

    static void Stream(GsfOutfile* dir, const std::string& name, const Bytes& data)
    {
        std::unique_ptr<GsfOutput, Unref<GsfOutput>> out(
            gsf_outfile_new_child(dir, name.c_str(), FALSE));
        if (!out)
            Fail();
        if (!data.empty() && !gsf_output_write(out.get(), data.size(), data.data()))
            Fail();
        gsf_output_close(out.get());
    }

    [[noreturn]] static void Fail()
    {
        throw std::system_error(std::make_error_code(std::errc::io_error),
                                "The message file could not be composed");
    }

private:
    void Entry(PropTag tag, std::uint64_t value)
    {
        Put32(m_entries, tag);
        Put32(m_entries, kPropertyFlags);
        Put64(m_entries, value);
    }
    void Fixed(PropTag tag, std::uint32_t value) { Entry(tag, value); }
    void Variable(PropTag tag, const Bytes& bytes)
    {
        Entry(tag, bytes.size());
        char name[32];
        std::snprintf(name, sizeof name, "__substg1.0_%08X", tag);
        Stream(m_dir, name, bytes);
    }

    GsfOutfile* m_dir;
    Bytes m_entries;
};

using Outfile = std::unique_ptr<GsfOutput, Unref<GsfOutput>>;

Outfile Child(GsfOutfile* dir, const char* pattern, std::size_t index)
{
    char name[64];
    std::snprintf(name, sizeof name, pattern, static_cast<unsigned>(index));
    Outfile child(gsf_outfile_new_child(dir, name, TRUE));
    if (!child)
        Storage::Fail();
    return child;
}

void WriteRecipient(GsfOutfile* root, std::size_t index, const store::Recipient& r)
{
    auto dir = Child(root, "__recip_version1.0_#%08X", index);
    Storage s(GSF_OUTFILE(dir.get()));
    s.Long(0x3000, static_cast<std::int32_t>(index));    // PR_ROWID
    s.Long(0x0C15, static_cast<std::int32_t>(r.type));   // PR_RECIPIENT_TYPE
    s.Text(0x3001, r.name.empty() ? r.address : r.name); // PR_DISPLAY_NAME
    if (!r.address.empty()) {
        s.Text(0x3002, "SMTP");    // PR_ADDRTYPE
        s.Text(0x3003, r.address); // PR_EMAIL_ADDRESS
        s.Text(0x39FE, r.address); // PR_SMTP_ADDRESS
    }
    s.Close(8, 0, 0);
    gsf_output_close(dir.get());
}

void WriteAttachment(GsfOutfile* root, std::size_t index, const store::Attachment& a)
{
    auto dir = Child(root, "__attach_version1.0_#%08X", index);
    Storage s(GSF_OUTFILE(dir.get()));
    s.Long(0x0E21, static_cast<std::int32_t>(index)); // PR_ATTACH_NUM
    s.Long(0x3705, 1);                                // PR_ATTACH_METHOD: by value
    s.Text(0x3707, a.fileName);                       // PR_ATTACH_LONG_FILENAME
    s.Text(0x3001, a.displayName.empty() ? a.fileName : a.displayName);
    s.Long(0x370B, a.position); // PR_RENDERING_POSITION, -1 for none
    s.Binary(0x3701, a.data);   // PR_ATTACH_DATA_BIN
    s.Close(8, 0, 0);
    gsf_output_close(dir.get());
}

// The map of named properties that every message file carries; this writer names none.
void WriteNameMap(GsfOutfile* root)
{
    auto dir = Child(root, "__nameid_version1.0", 0);
    for (const char* name :
         {"__substg1.0_00020102", "__substg1.0_00030102", "__substg1.0_00040102"})
        Storage::Stream(GSF_OUTFILE(dir.get()), name, {});
    gsf_output_close(dir.get());
}

std::string Compose(const MsgFileContent& content)
{
    static std::once_flag initialised;
    std::call_once(initialised, [] { gsf_init(); });
    std::unique_ptr<GsfOutput, Unref<GsfOutput>> sink(gsf_output_memory_new());
    Outfile root(GSF_OUTPUT(gsf_outfile_msole_new(sink.get())));
    if (!root)
        Storage::Fail();
    auto* dir = GSF_OUTFILE(root.get());
    WriteNameMap(dir);
    Storage message(dir);
    message.Text(0x001A, content.messageClass);
    for (const auto& [tag, value] : content.properties) {
        if ((tag >> 16) >= 0x8000 || tag == kMessageClass || (tag >> 16) == 0x001A)
            continue;
        if (tag == kRtfBody) {
            if (const auto* rtf = std::get_if<std::string>(&value))
                message.Binary(static_cast<std::uint16_t>(kRtfCompressed >> 16), StoredRtf(*rtf));
            continue;
        }
        message.Value(tag, value);
    }
    std::size_t attached = 0;
    for (const auto& a : content.attachments)
        if (a.method == store::AttachMethod::File)
            WriteAttachment(dir, attached++, a);
    for (std::size_t i = 0; i < content.recipients.size(); ++i)
        WriteRecipient(dir, i, content.recipients[i]);
    message.Close(32, static_cast<std::uint32_t>(content.recipients.size()),
                  static_cast<std::uint32_t>(attached));
    if (!gsf_output_close(root.get()))
        Storage::Fail();
    auto* memory = GSF_OUTPUT_MEMORY(sink.get());
    const auto* bytes = gsf_output_memory_get_bytes(memory);
    const auto size = static_cast<std::size_t>(gsf_output_size(sink.get()));
    return std::string(reinterpret_cast<const char*>(bytes), size);
}

} // namespace

void WriteMsgFile(const std::string& path, const MsgFileContent& content)
{
    const std::string bytes = Compose(content);
    platform::win::replaceFileContents(path, bytes);
}

} // namespace platform::mapi

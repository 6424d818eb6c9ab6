#include "platform/mapi/detail/MsgFile.h"

#include "platform/runtime/Error.h"

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-stdio.h>
#include <gsf/gsf-input.h>
#include <gsf/gsf-utils.h>
#include <unicode/ucnv.h>
#include <unicode/unistr.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <mutex>

namespace platform::mapi::detail {

namespace {

constexpr const char* kSource = "Session.GetMessageFromMsgFile";

[[noreturn]] void Malformed(const std::string& path, const std::string& why)
{
    runtime::Raise(runtime::errors::InvalidProcedureCall, kSource,
                   "\"" + path + "\" is no message file: " + why);
}

template <typename T> struct Unref
{
    void operator()(T* p) const
    {
        if (p)
            g_object_unref(p);
    }
};
using Input = std::unique_ptr<GsfInput, Unref<GsfInput>>;

std::vector<std::uint8_t> ReadAll(GsfInput* input)
{
    const auto size = static_cast<std::size_t>(gsf_input_size(input));
    std::vector<std::uint8_t> bytes(size);
    if (size > 0 && !gsf_input_read(input, size, bytes.data()))
        return {};
    return bytes;
}

std::vector<std::uint8_t> Child(GsfInfile* dir, const std::string& name)
{
    Input child(gsf_infile_child_by_name(dir, name.c_str()));
    return child ? ReadAll(child.get()) : std::vector<std::uint8_t>{};
}

std::uint32_t U32(const std::uint8_t* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint64_t U64(const std::uint8_t* p)
{
    return U32(p) | (static_cast<std::uint64_t>(U32(p + 4)) << 32);
}

std::string FromUtf16(const std::vector<std::uint8_t>& bytes)
{
    std::u16string text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        text.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
    while (!text.empty() && text.back() == u'\0')
        text.pop_back();
    std::string out;
    icu::UnicodeString(text.data(), static_cast<int32_t>(text.size())).toUTF8String(out);
    return out;
}

std::string FromCodePage(const std::vector<std::uint8_t>& bytes)
{
    std::size_t n = bytes.size();
    while (n > 0 && bytes[n - 1] == 0)
        --n;
    std::string out;
    icu::UnicodeString(reinterpret_cast<const char*>(bytes.data()), static_cast<int32_t>(n),
                       "windows-1252")
        .toUTF8String(out);
    return out;
}

std::string StreamName(std::uint32_t tag)
{
    char name[32];
    std::snprintf(name, sizeof name, "__substg1.0_%08X", tag);
    return name;
}

/// The properties of one storage: fixed ones from its property stream, variable ones from
/// their own streams. `headerSize` is 32 for the message, 8 for recipients and attachments.
std::vector<std::pair<std::uint32_t, store::PropValue>>
ReadProperties(GsfInfile* dir, std::size_t headerSize, const std::string& path)
{
    const auto stream = Child(dir, "__properties_version1.0");
    if (stream.size() < headerSize)
        Malformed(path, "its property stream is missing");
    std::vector<std::pair<std::uint32_t, store::PropValue>> out;
    for (std::size_t at = headerSize; at + 16 <= stream.size(); at += 16) {
        const std::uint32_t tag = U32(&stream[at]);
        const std::uint8_t* value = &stream[at + 8];
        switch (tag & 0xFFFF) {
        case 0x0003: // PT_LONG
            out.emplace_back(tag, static_cast<std::int32_t>(U32(value)));
            break;
        case 0x000B: // PT_BOOLEAN
            out.emplace_back(tag, value[0] != 0);
            break;
        case 0x0005: { // PT_DOUBLE
            double d;
            std::memcpy(&d, value, sizeof d);
            out.emplace_back(tag, d);
            break;
        }
        case 0x0040: { // PT_SYSTIME: 100 ns ticks since 1601
            const auto ticks = static_cast<std::int64_t>(U64(value));
            out.emplace_back(tag, store::SysTime{ticks / 10000000 - 11644473600LL});
            break;
        }
        case 0x001F:
            out.emplace_back((tag & 0xFFFF0000u) | 0x001E, FromUtf16(Child(dir, StreamName(tag))));
            break;
        case 0x001E:
            out.emplace_back(tag, FromCodePage(Child(dir, StreamName(tag))));
            break;
        case 0x0102:
            out.emplace_back(tag, store::Binary{Child(dir, StreamName(tag))});
            break;
        default:
            break; // types the library has no use for
        }
    }
    return out;
}

const store::PropValue* Find(const std::vector<std::pair<std::uint32_t, store::PropValue>>& props,
                             std::uint32_t tag)
{
    for (const auto& [t, v] : props)
        if (t == tag)
            return &v;
    return nullptr;
}

std::string Text(const std::vector<std::pair<std::uint32_t, store::PropValue>>& props,
                 std::uint32_t tag)
{
    const auto* v = Find(props, tag);
    const auto* s = v ? std::get_if<std::string>(v) : nullptr;
    return s ? *s : std::string{};
}

void ReadRecipient(GsfInfile* dir, const std::string& path, MsgFileContent& content)
{
    const auto props = ReadProperties(dir, 8, path);
    store::Recipient r;
    r.name = Text(props, 0x3001001E);
    r.address = Text(props, 0x39FE001E); // the SMTP address where the file has one
    if (r.address.empty())
        r.address = Text(props, 0x3003001E);
    if (const auto* type = Find(props, 0x0C150003))
        r.type = static_cast<store::RecipientType>(std::get<std::int32_t>(*type));
    r.resolved = !r.address.empty();
    content.recipients.push_back(std::move(r));
}

void ReadAttachment(GsfInfile* dir, const std::string& path, MsgFileContent& content)
{
    const auto props = ReadProperties(dir, 8, path);
    const auto* data = Find(props, 0x37010102);
    if (!data)
        return; // embedded items and links are not taken over
    store::Attachment a;
    a.number = static_cast<int>(content.attachments.size());
    a.fileName = Text(props, 0x3707001E);
    if (a.fileName.empty())
        a.fileName = Text(props, 0x3704001E);
    a.displayName = Text(props, 0x3001001E);
    if (a.displayName.empty())
        a.displayName = a.fileName;
    if (const auto* position = Find(props, 0x370B0003))
        a.position = std::get<std::int32_t>(*position);
    a.data = std::get<store::Binary>(*data).bytes;
    content.attachments.push_back(std::move(a));
}

} // namespace

std::string DecompressRtf(const std::vector<std::uint8_t>& in)
{
    static const char kPrebuffer[] =
        "{\\rtf1\\ansi\\mac\\deff0\\deftab720{\\fonttbl;}{\\f0\\fnil \\froman \\fswiss "
        "\\fmodern \\fscript \\fdecor MS Sans SerifSymbolArialTimes New RomanCourier"
        "{\\colortbl\\red0\\green0\\blue0\r\n\\par \\pard\\plain\\f0\\fs20\\b\\i\\u\\tab\\tx";
    const auto malformed = [] {
        runtime::Raise(runtime::errors::InvalidProcedureCall, "RTFBody", "Malformed RTF.");
    };
    if (in.size() < 16)
        malformed();
    const std::uint32_t compressedSize = U32(&in[0]);
    const std::uint32_t rawSize = U32(&in[4]);
    const std::uint32_t kind = U32(&in[8]);
    // The size field counts the header's last 12 bytes and the data; a smaller one is damage,
    // and so is one from 0xFFFFFFFC up, which with the field's own 4 bytes passes 32 bits.
    if (compressedSize < 12 || compressedSize > 0xFFFFFFFBu)
        malformed();
    const std::size_t end =
        std::min<std::size_t>(in.size(), static_cast<std::size_t>(compressedSize) + 4u);
    if (kind == 0x414C454D) // "MELA": stored as it is
        return std::string(in.begin() + 16,
                           in.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(
                                            end, 16u + static_cast<std::size_t>(rawSize))));
    if (kind != 0x75465A4C) // "LZFu"
        runtime::Raise(runtime::errors::InvalidProcedureCall, "RTFBody",
                       "Unknown RTF compression.");
    std::uint8_t dictionary[4096] = {};
    const std::size_t prebufferSize = sizeof kPrebuffer - 1;
    std::memcpy(dictionary, kPrebuffer, prebufferSize);
    std::size_t write = prebufferSize;
    std::string out;
    // The stored raw size is only a claim: one input byte yields at most 8.5 output bytes (a
    // two-byte reference copies up to 17), so the reservation never exceeds what the input
    // can produce.
    out.reserve(std::min<std::size_t>(rawSize, (end - 16) * 9));
    std::size_t at = 16;
    while (at < end) {
        const std::uint8_t control = in[at++];
        for (int bit = 0; bit < 8 && at < end; ++bit) {
            if ((control & (1 << bit)) == 0) {
                const auto c = in[at++];
                out.push_back(static_cast<char>(c));
                dictionary[write] = c;
                write = (write + 1) % 4096;
                continue;
            }
            if (at + 1 >= end)
                return out;
            const unsigned reference = (in[at] << 8) | in[at + 1];
            at += 2;
            std::size_t offset = reference >> 4;
            const std::size_t length = (reference & 0xF) + 2;
            if (offset == write)
                return out; // the end marker
            for (std::size_t i = 0; i < length; ++i) {
                const auto c = dictionary[offset];
                offset = (offset + 1) % 4096;
                out.push_back(static_cast<char>(c));
                dictionary[write] = c;
                write = (write + 1) % 4096;
            }
        }
    }
    return out;
}

MsgFileContent ReadMsgFile(const std::string& path)
{
    static std::once_flag initialised;
    std::call_once(initialised, [] { gsf_init(); });
    if (!std::filesystem::is_regular_file(path))
        runtime::Raise(runtime::errors::FileNotFound, kSource, "File not found: " + path);
    GError* error = nullptr;
    Input file(gsf_input_stdio_new(path.c_str(), &error));
    if (error)
        g_error_free(error);
    if (!file)
        runtime::Raise(runtime::errors::FileNotFound, kSource, "File not found: " + path);
    error = nullptr;
    std::unique_ptr<GsfInfile, Unref<GsfInfile>> root(gsf_infile_msole_new(file.get(), &error));
    if (error)
        g_error_free(error);
    if (!root)
        Malformed(path, "it is no compound file");

    MsgFileContent content;
    for (auto& [tag, value] : ReadProperties(root.get(), 32, path)) {
        if (tag == 0x001A001E) {
            content.messageClass = std::get<std::string>(value);
        } else if (tag == 0x10090102) {
            content.properties.emplace_back(0x1009001E,
                                            DecompressRtf(std::get<store::Binary>(value).bytes));
        } else if ((tag >> 16) < 0x8000) {
            content.properties.emplace_back(tag, std::move(value));
        }
    }
    const int children = gsf_infile_num_children(root.get());
    for (int i = 0; i < children; ++i) {
        const std::string name = gsf_infile_name_by_index(root.get(), i);
        const bool recipient = name.starts_with("__recip_version1.0_");
        const bool attachment = name.starts_with("__attach_version1.0_");
        if (!recipient && !attachment)
            continue;
        Input child(gsf_infile_child_by_index(root.get(), i));
        auto* dir = GSF_IS_INFILE(child.get()) ? GSF_INFILE(child.get()) : nullptr;
        if (!dir)
            continue;
        if (recipient)
            ReadRecipient(dir, path, content);
        else
            ReadAttachment(dir, path, content);
    }
    return content;
}

} // namespace platform::mapi::detail

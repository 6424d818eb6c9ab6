#include "MapiFixture.h"

#include "platform/mapi/Attachments.h"
#include "platform/mapi/Constants.h"
#include "platform/mapi/Folder.h"
#include "platform/mapi/Items.h"
#include "platform/mapi/Message.h"
#include "platform/mapi/MsgFile.h"
#include "platform/mapi/Recipient.h"
#include "platform/mapi/Recipients.h"
#include "platform/mapi/detail/MsgFile.h"
#include "platform/win/FileIo.h"

#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-stdio.h>
#include <gsf/gsf-utils.h>

#include <fstream>
#include <system_error>

#include <map>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace platform::mapi::test {

namespace rt = platform::runtime;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Utf16(const std::u16string& text)
{
    Bytes out;
    for (char16_t c : text) {
        out.push_back(static_cast<std::uint8_t>(c & 0xFF));
        out.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    out.push_back(0);
    out.push_back(0);
    return out;
}

void Put32(Bytes& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

/// One storage of a message file as the client writes it: fixed values in the property
/// stream, variable ones in streams of their own.
struct Storage
{
    std::map<std::uint32_t, std::uint32_t> fixed;
    std::map<std::uint32_t, Bytes> variable;
    std::map<std::string, Storage> children;
};

void WriteStream(GsfOutfile* dir, const std::string& name, const Bytes& data)
{
    GsfOutput* out = gsf_outfile_new_child(dir, name.c_str(), FALSE);
    gsf_output_write(out, data.size(), data.data());
    gsf_output_close(out);
    g_object_unref(out);
}

void WriteStorage(GsfOutfile* dir, const Storage& s, std::size_t headerSize)
{
    Bytes props(headerSize, 0);
    for (const auto& [tag, value] : s.fixed) {
        Put32(props, tag);
        Put32(props, 6);
        Put32(props, value);
        Put32(props, 0);
    }
    for (const auto& [tag, data] : s.variable) {
        Put32(props, tag);
        Put32(props, 6);
        Put32(props, static_cast<std::uint32_t>(data.size()));
        Put32(props, 0);
        char name[32];
        std::snprintf(name, sizeof name, "__substg1.0_%08X", tag);
        WriteStream(dir, name, data);
    }
    WriteStream(dir, "__properties_version1.0", props);
    for (const auto& [name, child] : s.children) {
        GsfOutput* sub = gsf_outfile_new_child(dir, name.c_str(), TRUE);
        WriteStorage(GSF_OUTFILE(sub), child, 8);
        gsf_output_close(sub);
        g_object_unref(sub);
    }
}

void WriteClientFile(const std::filesystem::path& path, const Storage& message)
{
    gsf_init();
    GsfOutput* sink = gsf_output_stdio_new(path.c_str(), nullptr);
    GsfOutfile* root = gsf_outfile_msole_new(sink);
    WriteStorage(root, message, 32);
    gsf_output_close(GSF_OUTPUT(root));
    g_object_unref(root);
    if (!gsf_output_is_closed(sink))
        gsf_output_close(sink);
    g_object_unref(sink);
}

/// The compressed RTF example of the compression's description: "{\rtf1\ansi\ansicpg1252
/// \pard hello world}" followed by CR LF.
const Bytes kCompressedRtf = {0x2d, 0x00, 0x00, 0x00, 0x2b, 0x00, 0x00, 0x00, 0x4c, 0x5a,
                              0x46, 0x75, 0xf1, 0xc5, 0xc7, 0xa7, 0x03, 0x00, 0x0a, 0x00,
                              0x72, 0x63, 0x70, 0x67, 0x31, 0x32, 0x35, 0x42, 0x32, 0x0a,
                              0xf3, 0x20, 0x68, 0x65, 0x6c, 0x09, 0x00, 0x20, 0x62, 0x77,
                              0x05, 0xb0, 0x6c, 0x64, 0x7d, 0x0a, 0x80, 0x0f, 0xa0};

Storage TemplateMessage(bool withRecipient)
{
    Storage m;
    m.variable[0x001A001F] = Utf16(u"IPM.Note");
    m.variable[0x0037001F] = Utf16(u"Monatsbericht für März");
    m.variable[0x1000001F] = Utf16(u"Hallo,\r\nanbei [@kestrova report] der Bericht.");
    m.variable[0x10090102] = kCompressedRtf;
    m.variable[0x8005001F] = Utf16(u"named: left out");
    m.fixed[0x00170003] = 2; // PR_IMPORTANCE
    if (withRecipient) {
        Storage& r = m.children["__recip_version1.0_#00000000"];
        r.variable[0x3001001F] = Utf16(u"Jörg Müller");
        r.variable[0x39FE001F] = Utf16(u"joerg.mueller@kestrova.de");
        r.fixed[0x0C150003] = 1;
    }
    Storage& a = m.children["__attach_version1.0_#00000000"];
    a.variable[0x3707001F] = Utf16(u"Logo.png");
    a.variable[0x37010102] = Bytes{1, 2, 3, 4, 5};
    a.fixed[0x370B0003] = 12;
    return m;
}

} // namespace

using MsgFileTest = MapiFixture;

TEST_F(MsgFileTest, CompressedRtfIsDecompressed)
{
    EXPECT_EQ(detail::DecompressRtf(kCompressedRtf),
              "{\\rtf1\\ansi\\ansicpg1252\\pard hello world}\r\n");
    Bytes stored = {0, 0, 0, 0, 5, 0, 0, 0, 0x4D, 0x45, 0x4C, 0x41, 0, 0, 0, 0};
    for (char c : std::string("{rtf}"))
        stored.push_back(static_cast<std::uint8_t>(c));
    stored[0] = static_cast<std::uint8_t>(stored.size() - 4);
    EXPECT_EQ(detail::DecompressRtf(stored), "{rtf}");
    Bytes unknown = stored;
    unknown[8] = 'X';
    EXPECT_EQ(RaisedNumber([&] { detail::DecompressRtf(unknown); }),
              rt::errors::InvalidProcedureCall);
}

TEST_F(MsgFileTest, DamagedRtfHeaderIsMalformedRtf)
{
    // size field, raw size, kind ("MELA" or "LZFu"); each header is followed by 14 bytes.
    struct Case
    {
        std::uint32_t size;
        std::uint32_t raw;
        std::uint32_t kind;
    };
    const Case cases[] = {
        {0, 5, 0x414C454D},          {11, 5, 0x414C454D},         {4, 5, 0x75465A4C},
        {0xFFFFFFFC, 5, 0x414C454D}, {0xFFFFFFFF, 5, 0x414C454D}, {0xFFFFFFFE, 5, 0x75465A4C},
    };
    for (const auto& c : cases) {
        Bytes in;
        for (std::uint32_t v : {c.size, c.raw, c.kind, 0u})
            for (int i = 0; i < 4; ++i)
                in.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
        in.resize(30, 'x');
        EXPECT_EQ(RaisedNumber([&] { detail::DecompressRtf(in); }),
                  rt::errors::InvalidProcedureCall)
            << "size field " << c.size;
    }
}

TEST_F(MsgFileTest, RtfRawSizeClaimReservesOnlyWhatTheInputCanGive)
{
    // A 30-byte input claiming nearly 4 GiB of text: the reservation follows the input.
    Bytes in = kCompressedRtf;
    in[4] = in[5] = in[6] = in[7] = 0xFF;
    const std::string text = detail::DecompressRtf(in);
    EXPECT_EQ(text, "{\\rtf1\\ansi\\ansicpg1252\\pard hello world}\r\n");
    EXPECT_LE(text.capacity(), in.size() * 9);
}

TEST_F(MsgFileTest, MessageFileBecomesANewMessage)
{
    const auto path = Dir() / "Vorlage.oft";
    WriteClientFile(path, TemplateMessage(true));
    auto session = LoggedOnSession();
    auto message = session->GetMessageFromMsgFile(path.string(), 0);
    EXPECT_EQ(message->EntryID(), "");
    EXPECT_EQ(message->TypeName(), "MailItem");
    EXPECT_EQ(message->Subject(), "Monatsbericht für März");
    EXPECT_EQ(message->Body(), "Hallo,\r\nanbei [@kestrova report] der Bericht.");
    EXPECT_EQ(message->RTFBody(), "{\\rtf1\\ansi\\ansicpg1252\\pard hello world}\r\n");
    EXPECT_EQ(message->Fields(PR_IMPORTANCE), rt::Variant(2));
    ASSERT_EQ(message->GetRecipients()->Count(), 1);
    EXPECT_EQ(message->GetRecipients()->Item(1)->Name(), "Jörg Müller");
    EXPECT_EQ(message->GetRecipients()->Item(1)->Address(), "joerg.mueller@kestrova.de");
    ASSERT_EQ(message->GetAttachments()->Count(), 1);
    EXPECT_EQ(message->GetAttachments()->FileName(1), "Logo.png");
    EXPECT_EQ(message->GetAttachments()->Position(1), 12);

    // A template with recipients goes to the outbox and is sent from there.
    auto outbox = session->GetDefaultFolder(olFolderOutbox);
    auto moved = message->Move(outbox);
    EXPECT_EQ(outbox->GetItems()->Count(), 1);
    moved->Send();
    EXPECT_EQ(outbox->GetItems()->Count(), 0);
    auto sent = session->GetDefaultFolder(olFolderSentMail)->GetItems();
    ASSERT_EQ(sent->Count(), 1);
    EXPECT_EQ(sent->Item(1)->Subject(), "Monatsbericht für März");
    EXPECT_EQ(sent->Item(1)->GetAttachments()->Size(1), 5);
}

TEST_F(MsgFileTest, MissingAndForeignFilesAreRefused)
{
    auto session = LoggedOnSession();
    EXPECT_EQ(RaisedNumber([&] { session->GetMessageFromMsgFile((Dir() / "fehlt.msg").string()); }),
              rt::errors::FileNotFound);
    const auto text = Dir() / "kein.msg";
    std::ofstream(text) << "Dies ist keine Nachricht.";
    EXPECT_EQ(RaisedNumber([&] { session->GetMessageFromMsgFile(text.string()); }),
              rt::errors::InvalidProcedureCall);
    // A message file without recipients is not sent.
    const auto bare = Dir() / "ohne.msg";
    WriteClientFile(bare, TemplateMessage(false));
    auto message = session->GetMessageFromMsgFile(bare.string());
    EXPECT_EQ(message->GetRecipients()->Count(), 0);
    EXPECT_TRUE(RaisedNumber([&] { message->Send(); }).has_value());
}

TEST_F(MsgFileTest, WrittenFileReadsBackAsTheSameMessage)
{
    MsgFileContent content;
    content.messageClass = "IPM.Note.Bericht";
    content.properties = {
        {st::props::PR_SUBJECT, st::PropValue{"Wochenbericht Größen"}},
        {st::props::PR_BODY, st::PropValue{"Hallo,\r\nanbei [@kestrova report] der Bericht."}},
        {0x1009001E, st::PropValue{"{\\rtf1\\ansi Hallo [@kestrova report]\\par}"}},
        {st::props::PR_IMPORTANCE, st::PropValue{std::int32_t{2}}},
        {0x0E1B000B, st::PropValue{true}},                // PR_HASATTACH
        {0x0039, st::PropValue{st::SysTime{1700000000}}}, // PR_CLIENT_SUBMIT_TIME, no type
        {0x00390040, st::PropValue{st::SysTime{1700000000}}},
        {0x8005001E, st::PropValue{"named: not written"}},
    };
    content.recipients = {{st::RecipientType::To, "Jörg Müller", "joerg@kestrova.de", true},
                          {st::RecipientType::Cc, "", "team@kestrova.de", true}};
    st::Attachment a;
    a.fileName = "Bericht März.csv";
    a.position = 17;
    a.data = {'a', ';', 'b', 0, 0xFF};
    content.attachments = {a};
    const auto path = (Dir() / "Vorlage.oft").string();
    WriteMsgFile(path, content);

    const auto back = detail::ReadMsgFile(path);
    EXPECT_EQ(back.messageClass, "IPM.Note.Bericht");
    std::map<std::uint32_t, st::PropValue> props(back.properties.begin(), back.properties.end());
    EXPECT_EQ(props.at(st::props::PR_SUBJECT), st::PropValue{"Wochenbericht Größen"});
    EXPECT_EQ(props.at(0x1009001E), st::PropValue{"{\\rtf1\\ansi Hallo [@kestrova report]\\par}"});
    EXPECT_EQ(props.at(st::props::PR_IMPORTANCE), st::PropValue{std::int32_t{2}});
    EXPECT_EQ(props.at(0x0E1B000B), st::PropValue{true});
    EXPECT_EQ(props.at(0x00390040), st::PropValue{st::SysTime{1700000000}});
    EXPECT_EQ(props.count(0x8005001E), 0u);
    ASSERT_EQ(back.recipients.size(), 2u);
    EXPECT_EQ(back.recipients[1].type, st::RecipientType::Cc);
    EXPECT_EQ(back.recipients[1].name, "team@kestrova.de");

    auto message = LoggedOnSession()->GetMessageFromMsgFile(path);
    EXPECT_EQ(message->Subject(), "Wochenbericht Größen");
    EXPECT_EQ(message->Body(), "Hallo,\r\nanbei [@kestrova report] der Bericht.");
    ASSERT_EQ(message->GetRecipients()->Count(), 2);
    EXPECT_EQ(message->GetRecipients()->Item(1)->Name(), "Jörg Müller");
    EXPECT_EQ(message->GetRecipients()->Item(1)->Address(), "joerg@kestrova.de");
    ASSERT_EQ(message->GetAttachments()->Count(), 1);
    EXPECT_EQ(message->GetAttachments()->FileName(1), "Bericht März.csv");
    EXPECT_EQ(message->GetAttachments()->Position(1), 17);
    EXPECT_EQ(message->GetAttachments()->Size(1), 5);
}

TEST_F(MsgFileTest, FailedWriteKeepsTheOldFile)
{
    const auto path = Dir() / "Vorlage.msg";
    MsgFileContent old;
    old.properties = {{st::props::PR_SUBJECT, st::PropValue{"alt"}}};
    WriteMsgFile(path.string(), old);
    const auto size = std::filesystem::file_size(path);
    MsgFileContent bigger = old;
    bigger.properties.emplace_back(st::props::PR_BODY, std::string(5000, 'x'));
    // The disk fills up after the first kilobyte.
    std::size_t written = 0;
    platform::win::ScopedWriteFault full([&](int fd, const char* data, std::size_t n) -> ssize_t {
        if (written + n > 1024) {
            errno = ENOSPC;
            return -1;
        }
        written += n;
        return ::write(fd, data, n);
    });
    EXPECT_THROW(WriteMsgFile(path.string(), bigger), std::system_error);
    EXPECT_EQ(std::filesystem::file_size(path), size);
    EXPECT_EQ(detail::ReadMsgFile(path.string()).properties.front().second, st::PropValue{"alt"});
}

TEST_F(MsgFileTest, AMailFileIsNeverWrittenOverAPipeADeviceOrAFolder)
{
    const auto dir = Dir();
    const auto count = [&] {
        return std::distance(std::filesystem::directory_iterator(dir),
                             std::filesystem::directory_iterator());
    };
    const auto before = count();
    ASSERT_EQ(::mkfifo((dir / "pipe.msg").c_str(), 0600), 0);
    std::filesystem::create_directory(dir / "folder.msg");
    std::filesystem::create_symlink("pipe.msg", dir / "link.msg");
    std::vector<std::string> names = {"pipe.msg", "folder.msg", "link.msg"};
    // A device of this test's own (the numbers of /dev/null), where the user may make one.
    if (::mknod((dir / "device.msg").c_str(), S_IFCHR | 0600, makedev(1, 3)) == 0)
        names.push_back("device.msg");
    MsgFileContent content;
    content.properties = {{st::props::PR_SUBJECT, st::PropValue{"neu"}}};
    for (const auto& name : names) {
        const auto path = dir / name;
        const auto type = std::filesystem::symlink_status(path).type();
        EXPECT_THROW(WriteMsgFile(path.string(), content), std::system_error) << name;
        EXPECT_EQ(std::filesystem::symlink_status(path).type(), type) << name;
    }
    EXPECT_TRUE(std::filesystem::is_fifo(dir / "pipe.msg"));
    EXPECT_EQ(count(), before + static_cast<long>(names.size()))
        << "a temporary file stayed behind";
}

} // namespace platform::mapi::test

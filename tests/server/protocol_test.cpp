// A console's view of the server: login, ping, framing, and what happens to
// malformed input, and a report whose console went away at once. One server
// serves the whole program.
#include "qr_payload.h"
#include "server_process.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <filesystem>
#include <memory>
#include <thread>
#include <vector>

#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

namespace {

class Protocol : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        folder_ = new ServerFolder();
        server_ = StartListening(*folder_).release();
        ASSERT_NE(server_, nullptr);
    }
    static void TearDownTestSuite()
    {
        EXPECT_EQ(server_->Stop(), 0);
        delete server_;
        delete folder_;
    }
    static int port() { return folder_->port(); }

    static ServerFolder* folder_;
    static ServerProcess* server_;
};

ServerFolder* Protocol::folder_ = nullptr;
ServerProcess* Protocol::server_ = nullptr;

// PING answered with its synch proves the connection still serves.
void ExpectServed(ConsoleClient& client, int synch)
{
    ASSERT_TRUE(client.Send("<PING synch=\"" + std::to_string(synch) + "\"/>"));
    auto pong = client.Next();
    ASSERT_TRUE(pong.has_value());
    EXPECT_EQ(pong->name, "PONG");
    EXPECT_EQ(pong->attr("synch"), std::to_string(synch));
}

TEST_F(Protocol, LoginGivesSessionAndConnectedLog)
{
    ConsoleClient client(port());
    ASSERT_TRUE(client.Send("<LOGIN ConID=\"\" Type=\"Console\" login=\"admin\" password=\"pw\"/>"));
    auto session = client.Next();
    ASSERT_TRUE(session.has_value());
    EXPECT_EQ(session->name, "SESSION");
    EXPECT_FALSE(session->has("synch"));
    const std::string uid = session->attr("uid");
    ASSERT_FALSE(uid.empty());
    EXPECT_EQ(uid.find_first_not_of("0123456789"), std::string::npos) << uid;

    auto log = client.Next();
    ASSERT_TRUE(log.has_value());
    EXPECT_EQ(log->name, "LOG");
    const std::string text = log->attr("text");
    EXPECT_NE(text.find(" Connected to server: 127.0.0.1"), std::string::npos) << text;
    EXPECT_EQ(text.size(), std::string("MM/DD/YYYY hh:mm:ss Connected to server: 127.0.0.1").size()) << text;
    EXPECT_FALSE(log->has("alert"));

    // A second LOGIN on the same connection is refused; the first stays.
    ASSERT_TRUE(client.Send("<LOGIN Type=\"Console\" synch=\"7\"/>"));
    auto error = client.Next();
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->name, "ERROR");
    EXPECT_EQ(error->attr("type"), "4");
    EXPECT_EQ(error->attr("message"), "Connection already autorized!");
    EXPECT_EQ(error->attr("synch"), "7");
    EXPECT_FALSE(error->has("alert"));

    // Two logins draw two different, increasing ids.
    ConsoleClient other(port());
    const std::string second = other.Login("Console");
    ASSERT_FALSE(second.empty());
    EXPECT_GT(std::stoll(second), std::stoll(uid));
}

TEST_F(Protocol, PingAnswersWithItsSynch)
{
    ConsoleClient client(port());
    ExpectServed(client, 42);
    ASSERT_TRUE(client.Send("<PING/>"));
    auto pong = client.Next();
    ASSERT_TRUE(pong.has_value());
    EXPECT_EQ(pong->xml, "<PONG synch=\"0\" />");
    // Names are compared exactly: a lower-case ping is ignored, unanswered.
    ASSERT_TRUE(client.Send("<ping synch=\"1\"/>"));
    ExpectServed(client, 2);
}

TEST_F(Protocol, RequestsBeforeLoginAreRefused)
{
    ConsoleClient client(port());
    for (const char* name : {"GETTREE", "ADDTREEITEM", "GETSERVERINFO", "SCAN", "REMOVEBRANCH"}) {
        ASSERT_TRUE(client.Send(std::string("<") + name + " synch=\"5\" root=\"0\" uid=\"1\"/>"));
        auto error = client.Next();
        ASSERT_TRUE(error.has_value()) << name;
        EXPECT_EQ(error->name, "ERROR") << name;
        EXPECT_EQ(error->attr("type"), "254") << name;
        EXPECT_EQ(error->attr("message"), "Not logged in") << name;
        EXPECT_EQ(error->attr("synch"), "5") << name;
    }
    // Without a synch the ERROR carries 0.
    ASSERT_TRUE(client.Send("<GETTREE root=\"0\"/>"));
    auto error = client.Next();
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->attr("synch"), "0");
    ExpectServed(client, 3);
}

TEST_F(Protocol, UnsafeClientTypesAreRefusedAndTheServerGoesOn)
{
    const char* refused[] = {"", "ADMIN", "admin", "../etc", "a]b", "Console Two",
                             "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456"};  // 33 characters
    for (const char* type : refused) {
        ConsoleClient client(port());
        ASSERT_TRUE(client.Send(std::string("<LOGIN Type=\"") + type + "\" synch=\"9\"/>"));
        auto error = client.Next();
        ASSERT_TRUE(error.has_value()) << type;
        EXPECT_EQ(error->name, "ERROR") << type;
        EXPECT_EQ(error->attr("type"), "254") << type;
        EXPECT_EQ(error->attr("synch"), "9") << type;
        // Still not logged in, still served.
        ASSERT_TRUE(client.Send("<GETTREE root=\"0\"/>"));
        auto refused_tree = client.Next();
        ASSERT_TRUE(refused_tree.has_value());
        EXPECT_EQ(refused_tree->attr("message"), "Not logged in");
    }
    EXPECT_FALSE(std::filesystem::exists(folder_->file("ADMIN-SrvData.db")));
    ConsoleClient client(port());
    EXPECT_FALSE(client.Login("Console").empty());
}

TEST_F(Protocol, FramesMayBeSplitOrMerged)
{
    ConsoleClient client(port());
    // One frame written a byte at a time, the length digits included.
    const std::string frame = Frame("<PING synch=\"11\"/>");
    for (char c : frame) {
        ASSERT_TRUE(client.SendRaw(std::string(1, c)));
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    auto pong = client.Next();
    ASSERT_TRUE(pong.has_value());
    EXPECT_EQ(pong->attr("synch"), "11");

    // Three frames in one write, then a frame holding two elements.
    ASSERT_TRUE(client.SendRaw(Frame("<PING synch=\"21\"/>") + Frame("<PING synch=\"22\"/>") +
                               Frame("<PING synch=\"23\"/>")));
    ASSERT_TRUE(client.Send("<PING synch=\"31\"/><!-- skipped --><PING synch=\"32\"/>"));
    for (const char* synch : {"21", "22", "23", "31", "32"}) {
        auto reply = client.Next();
        ASSERT_TRUE(reply.has_value()) << synch;
        EXPECT_EQ(reply->name, "PONG");
        EXPECT_EQ(reply->attr("synch"), synch);
    }

    // A frame with an empty payload asks for nothing.
    ASSERT_TRUE(client.SendRaw("0 "));
    ExpectServed(client, 41);
}

TEST_F(Protocol, MalformedXmlIsAnsweredAndNotDispatched)
{
    ConsoleClient client(port());
    // Half a LOGIN must not log in.
    ASSERT_TRUE(client.Send("<LOGIN Type=\"Console\" login=\"a\"b\" password=\"x\"/>"));
    auto error = client.Next();
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->name, "ERROR");
    EXPECT_EQ(error->attr("type"), "254");
    EXPECT_EQ(error->attr("message"), "Failed to parse XML request");
    ASSERT_TRUE(client.Send("<GETTREE root=\"0\"/>"));
    auto refused = client.Next();
    ASSERT_TRUE(refused.has_value());
    EXPECT_EQ(refused->attr("message"), "Not logged in");
    ExpectServed(client, 51);
}

// The payload of text made in one deflate pass, as a sender crafting a
// small frame of a huge text would make it (the server's own encoder cuts
// large texts into pieces, which makes such a text's frame larger).
std::string SinglePassPayload(const std::string& text)
{
    uLongf size = compressBound(static_cast<uLong>(text.size()));
    std::vector<Bytef> stream(size);
    if (compress2(stream.data(), &size, reinterpret_cast<const Bytef*>(text.data()), static_cast<uLong>(text.size()),
                  9) != Z_OK)
        return std::string();
    char field[16];
    std::snprintf(field, sizeof field, "%10zu", text.size());
    std::string payload = field;
    for (uLongf i = 0; i < size; ++i)
        payload += stream[i] == 0 ? std::string("%1") : stream[i] == '%' ? std::string("%2")
                                                                         : std::string(1, char(stream[i]));
    return payload;
}

std::string Repeat(const std::string& part, int times)
{
    std::string out;
    for (int i = 0; i < times; ++i)
        out += part;
    return out;
}

// A few hundred compressed bytes of nesting would run the parser out of stack
// and end the whole server, before any login (where a request's text is
// bounded to 64 KB) and after it.
TEST_F(Protocol, DeeplyNestedRequestsAreRefusedAndTheServerGoesOn)
{
    const std::string bom = "\xef\xbb\xbf";
    struct Case {
        const char* what;
        std::string text;
    } cases[] = {
        {"plain nesting", Repeat("<a>", 100000)},
        {"end tags hidden in values", Repeat("<a x=\"/></a>\">", 100000)},
        {"end tags swallowed by UTF-8 lead bytes", bom + Repeat("<a>\xe0</a>", 100000)},
        {"end tags swallowed by character references", Repeat("<a>&#</a>#60;", 100000)},
        {"nesting inside a PING", "<PING synch=\"3\">" + Repeat("<a>", 100000) + "</PING>"},
        {"a UTF-8 character cut off by the end", bom + "<PING synch=\"4\">\xf0"},
    };
    ConsoleClient bystander(port());
    ASSERT_FALSE(bystander.Login("Console").empty());
    bystander.NextNamed("LOG");
    ConsoleClient client(port());
    ASSERT_TRUE(client.Send(Repeat("<a>", 20000)));
    auto early = client.Next();
    ASSERT_TRUE(early.has_value());
    EXPECT_EQ(early->attr("message"), "Failed to parse XML request") << early->xml;
    ExpectServed(client, 80);
    ASSERT_FALSE(client.Login("Console").empty());
    client.NextNamed("LOG");
    for (const Case& c : cases) {
        const std::string frame = Frame(c.text);
        EXPECT_LT(frame.size(), 4000u) << c.what;  // small on the wire
        ASSERT_TRUE(client.SendRaw(frame)) << c.what;
        auto error = client.Next();
        ASSERT_TRUE(error.has_value()) << c.what;
        EXPECT_EQ(error->name, "ERROR") << c.what;
        EXPECT_EQ(error->attr("type"), "254") << c.what;
        EXPECT_EQ(error->attr("message"), "Failed to parse XML request") << c.what;
        ExpectServed(client, 81);
        ExpectServed(bystander, 82);
    }
    // Nesting that requests can have is still served.
    ASSERT_TRUE(client.Send("<PING synch=\"83\">" + Repeat("<a>", 200) + Repeat("</a>", 200) + "</PING>"));
    auto pong = client.Next();
    ASSERT_TRUE(pong.has_value());
    EXPECT_EQ(pong->xml, "<PONG synch=\"83\" />");
    EXPECT_NE(folder_->LogText().find("refused unparsed: elements nested deeper than 256 levels"), std::string::npos);
}

TEST_F(Protocol, HostileFramesCloseOnlyTheirConnection)
{
    const std::string good = Frame("<PING synch=\"1\"/>");
    std::string damaged = "        50";  // announces 50 bytes of text
    damaged += std::string(30, 'x');
    std::string with_zero = good;
    with_zero[with_zero.size() - 3] = '\0';
    struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"eleven digits", "12345678901 " + std::string(20, 'a')},
        {"no blank after ten digits", "12345678901234567890"},
        {"above the length limit", "999999999 abc"},
        {"sign in the length", "-5 abcde"},
        {"letters in the length", "1a2 abc"},
        {"blank first", " 12 abc"},
        {"payload that does not decode", std::to_string(damaged.size()) + " " + damaged},
        {"zero byte inside a frame", with_zero},
    };
    ConsoleClient bystander(port());
    ASSERT_FALSE(bystander.Login("Console").empty());
    bystander.NextNamed("LOG");
    for (const Case& c : cases) {
        ConsoleClient hostile(port());
        ASSERT_TRUE(hostile.SendRaw(c.bytes)) << c.what;
        EXPECT_TRUE(hostile.Closed()) << c.what;
        ExpectServed(bystander, 61);
    }
}

// The most memory a process has held resident so far, in kB (VmHWM).
long PeakResidentKb(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

// Frames of some 50 KB whose texts unpack to 48 MiB, from clients that never
// log in (one of them lying about the size) and from one that did: each is
// refused at the bound of its connection's state without being unpacked,
// while more such clients stay connected halfway through theirs the
// server's memory stays flat, and a new console logs in.
TEST_F(Protocol, FramesThatUnpackBeyondTheirBoundAreRefusedWithoutTheMemory)
{
    const std::string bomb_text = "<LOGIN Type=\"" + std::string(48 * 1024 * 1024, 'A') + "\"/>";
    const std::string payload = SinglePassPayload(bomb_text);
    const std::string honest = std::to_string(payload.size()) + " " + payload;
    char field[16];
    std::snprintf(field, sizeof field, "%10d", 60000);
    const std::string lying_payload = field + payload.substr(10);
    const std::string lying = std::to_string(lying_payload.size()) + " " + lying_payload;
    ASSERT_LT(honest.size(), 64u * 1024u);

    const long before = PeakResidentKb(server_->pid());
    ASSERT_GT(before, 0);
    std::vector<std::unique_ptr<ConsoleClient>> holding;
    for (int i = 0; i < 8; ++i) {
        holding.push_back(std::make_unique<ConsoleClient>(port()));
        ASSERT_TRUE(holding.back()->SendRaw(honest.substr(0, honest.size() / 2)));
    }
    std::vector<std::unique_ptr<ConsoleClient>> hostile;
    for (int i = 0; i < 8; ++i) {
        hostile.push_back(std::make_unique<ConsoleClient>(port()));
        ASSERT_TRUE(hostile.back()->SendRaw(i % 4 == 3 ? lying : honest));
    }
    ConsoleClient member(port());
    ASSERT_FALSE(member.Login("Console").empty());
    ASSERT_TRUE(member.SendRaw(honest));
    for (auto& client : hostile)
        EXPECT_TRUE(client->Closed());
    EXPECT_TRUE(member.Closed());

    ConsoleClient newcomer(port());
    EXPECT_FALSE(newcomer.Login("Console").empty());
    const long after = PeakResidentKb(server_->pid());
    // Unpacking even one of them would hold the text twice over.
    EXPECT_LT(after - before, 96 * 1024) << before << " kB before, " << after << " kB after";
    const std::string log = folder_->LogText();
    EXPECT_NE(log.find("refused: its text is above the limit of 65536 bytes before login"), std::string::npos);
    EXPECT_NE(log.find("refused: its text is above the limit of 16777216 bytes ["), std::string::npos);
    EXPECT_NE(log.find("the stream holds more than the announced 60000 bytes"), std::string::npos);
}

TEST_F(Protocol, PasswordsNeverReachTheLog)
{
    ConsoleClient client(port());
    ASSERT_FALSE(client.Login("Console", "session_id=\"\" secretword=\"x\"").empty());
    ASSERT_TRUE(client.Send("<LOGIN Type=\"Console\" password=\"Wh1sper-Pass\"/>"));
    ASSERT_TRUE(client.NextNamed("ERROR").has_value());
    ConsoleClient second(port());
    ASSERT_TRUE(second.Send("<LOGIN Type=\"Console\" login=\"op\" password=\"Wh1sper-Pass\"/>"));
    ASSERT_TRUE(second.NextNamed("SESSION").has_value());
    ASSERT_TRUE(second.NextNamed("LOG").has_value());
    ExpectServed(second, 71);
    const std::string log = folder_->LogText();
    EXPECT_NE(log.find("Trying to login user 'op'"), std::string::npos);
    EXPECT_EQ(log.find("Wh1sper-Pass"), std::string::npos);
}

// Runs the sqlite3 program on a database with the statements given; its exit code.
int RunSqlite(const std::string& database, const std::string& sql)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::execlp("sqlite3", "sqlite3", database.c_str(), sql.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = -1;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

size_t Count(const std::string& text, const std::string& part)
{
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

// A console that asks for a report and goes away at once: the report runs to
// its end with nobody to send to, its thread ends, and the server goes on
// serving, reports included.
TEST_F(Protocol, AReportWhoseConsoleLeftAtOnceEndsAndTheServerGoesOn)
{
    // The type's inventory, in place before the type's first login: a
    // snapshot whose hosts give the report rows to send after the console left.
    const std::string database = folder_->file("Reports-SrvData.db");
    std::filesystem::copy_file(folder_->file("DataTemplate.db"), database);
    ASSERT_EQ(RunSqlite(database,
                        "INSERT INTO InventoryTree (uid, parentid, type, name) VALUES (900001, 0, 2, 'Reported');"
                        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 200) "
                        "INSERT INTO InventoryHosts (AsOfId, uid, NetAddr, TimeStmp, DevVendorId) "
                        "SELECT 900001, 900100 + i, '10.77.' || (i / 100) || '.' || (i % 100), 1700000000 + i, "
                        "8072 FROM n;"
                        "INSERT INTO ScanSummaryData (host_id, Data1, Data2, Data6) "
                        "SELECT uid, 'DEV-' || uid, 'reported', 'host-' || uid FROM InventoryHosts;"),
              0);
    const std::string ended = "Report thread for root item '900001' ended";
    auto request = [](int synch) {
        return "<CREATE_REPORT type=\"1\" root=\"900001\" synch=\"" + std::to_string(synch) + "\"/>";
    };

    // Closed right after the request, and reset once the report has begun.
    for (const bool reset : {false, true}) {
        auto client = std::make_unique<ConsoleClient>(port());
        ASSERT_FALSE(client->Login("Reports").empty());
        ASSERT_TRUE(client->NextNamed("LOG").has_value());
        ASSERT_TRUE(client->Send(request(reset ? 2 : 1)));
        if (reset) {
            auto begun = client->Next();
            ASSERT_TRUE(begun.has_value());
            EXPECT_NE(begun->attr("text").find("Start collecting report data"), std::string::npos) << begun->xml;
            const linger at_once{1, 0};
            ASSERT_EQ(::setsockopt(client->fd(), SOL_SOCKET, SO_LINGER, &at_once, sizeof at_once), 0);
        }
        client.reset();
    }
    std::string log;
    WaitUntil([&] {
        log = folder_->LogText();
        return Count(log, ended) >= 2;
    });
    EXPECT_EQ(Count(log, "Creating new report for root item'900001'"), 2u) << log;
    EXPECT_EQ(Count(log, ended), 2u) << log;
    EXPECT_EQ(log.find("Unhandled exception occured in thread"), std::string::npos) << log;

    // A new console is served, and its report arrives whole.
    ConsoleClient client(port());
    ASSERT_FALSE(client.Login("Reports").empty());
    ASSERT_TRUE(client.NextNamed("LOG").has_value());
    ExpectServed(client, 3);
    ASSERT_TRUE(client.Send(request(4)));
    auto table = client.NextNamed("TABLE");
    ASSERT_TRUE(table.has_value());
    EXPECT_EQ(table->attr("synch"), "4");
    EXPECT_NE(table->xml.find("\"10.77.0.1\""), std::string::npos) << table->xml;
    EXPECT_NE(table->xml.find("\"10.77.2.0\""), std::string::npos) << table->xml;
}

}  // namespace

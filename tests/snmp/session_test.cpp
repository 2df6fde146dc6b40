// The session layer and the subtree walk against real snmpd agents.
#include "snmp_agents.h"
#include "snmp_master.h"
#include "snmp_oid.h"
#include "snmp_scramble.h"
#include "snmp_session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sstream>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

namespace {

const char* const Alpha = "127.0.61.1";
const char* const Bravo = "127.0.61.2";
const char* const Slow = "127.0.61.3";     // QOR agent not ready for its first request
const char* const Lossy = "127.0.61.4";    // its first request is lost on the way
const char* const Lossy2 = "127.0.61.5";   // the same, for a walk without a retry
const char* const Stale = "127.0.61.6";    // every other answer comes only with the next request
const char* const Preparing = "127.0.61.7"; // QOR agent not ready for its first request, for walks together
const char* const Silent = "127.0.61.250"; // nothing listens here
// 127.0.61.100 - 127.0.61.149: more addresses where nothing listens.

TestAgents* agents = nullptr;
CSnmpMaster* master = nullptr;

class SnmpSessionTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        agents = new TestAgents;
        ASSERT_TRUE(agents->start({Alpha, "alpha", "Alpha test router", ".1.3.6.1.4.1.9.1.516"}))
            << agents->error();
        ASSERT_TRUE(agents->start({Bravo, "bravo", "Bravo test switch", ".1.3.6.1.4.1.11.2.3.7.11.9", "bravocomm"}))
            << agents->error();
        AgentSpec slow{Slow, "slow", "Slow QOR host", ".1.3.6.1.4.1.39871.1"};
        slow.qor_not_ready = 1;
        slow.qor_loop = true;
        ASSERT_TRUE(agents->start(slow)) << agents->error();
        for (const char* address : {Lossy, Lossy2}) {
            AgentSpec lossy{address, "lossy", "Lossy QOR host", ".1.3.6.1.4.1.39871.1"};
            lossy.faults.drop_first = 1;
            ASSERT_TRUE(agents->start(lossy)) << agents->error();
        }
        AgentSpec preparing{Preparing, "preparing", "Preparing QOR host", ".1.3.6.1.4.1.39871.1"};
        preparing.qor_not_ready = 1;
        ASSERT_TRUE(agents->start(preparing)) << agents->error();
        AgentSpec stale{Stale, "stale", "Stale QOR host", ".1.3.6.1.4.1.39871.1"};
        stale.faults.hold_odd_answers = true;
        ASSERT_TRUE(agents->start(stale)) << agents->error();
        master = new CSnmpMaster;
    }
    static void TearDownTestSuite()
    {
        delete master;
        master = nullptr;
        delete agents;
        agents = nullptr;
    }

    std::unique_ptr<CSnmpSession> open(const std::string& address, const std::string& community,
                                       bool registered = false)
    {
        CSnmpSession* s = master->create_session(address, community, registered, 2, 2);
        EXPECT_NE(s, nullptr) << master->get_error_text();
        return std::unique_ptr<CSnmpSession>(s);
    }
};

std::string hex_digits(const std::string& spaced, bool scramble)
{
    std::string bytes;
    std::istringstream in(spaced);
    std::string pair;
    while (in >> pair)
        bytes += static_cast<char>(std::strtoul(pair.c_str(), nullptr, 16));
    if (scramble)
        scramble_octets(reinterpret_cast<unsigned char*>(bytes.data()), bytes.size());
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

// One `snmpwalk -On -Oe -Ot -Ox` line in the form of a walk entry with the
// line flag: ".OID value", values undone from the QOR scramble where the
// agent applies it.
std::string entry_from_snmpwalk(const std::string& line)
{
    size_t eq = line.find(" = ");
    std::string oid = line.substr(0, eq);
    std::string rest = eq == std::string::npos ? "" : line.substr(eq + 3);
    bool qor = is_qor_oid(oid);
    std::string type, value = rest;
    size_t colon = rest.find(": ");
    if (colon != std::string::npos) {
        type = rest.substr(0, colon);
        value = rest.substr(colon + 2);
    }
    std::string text;
    if (type == "INTEGER") {
        int32_t v = static_cast<int32_t>(std::strtol(value.c_str(), nullptr, 10));
        if (qor)
            scramble_int32(&v);
        text = std::to_string(v);
    } else if (type == "Counter32" || type == "Gauge32" || type == "Timeticks" || type.empty()) {
        uint32_t v = static_cast<uint32_t>(std::strtoul(value.c_str(), nullptr, 10));
        if (qor)
            scramble_int32(&v);
        text = std::to_string(v);
    } else if (type == "Hex-STRING") {
        text = "Hex-STRING:" + hex_digits(value, qor);
    } else if (type == "STRING" && value == "\"\"") {
        text = "Hex-STRING:";
    } else if (type == "OID" || type == "IpAddress") {
        text = value;
    } else {
        text = "unexpected " + rest;
    }
    return oid + " " + text;
}

std::vector<std::string> oracle(const std::string& address, const std::string& community,
                                const std::string& root)
{
    std::vector<std::string> out;
    for (const std::string& line : snmpwalk_lines(address, community, root))
        out.push_back(entry_from_snmpwalk(line));
    return out;
}

// sysUpTime moves between two walks; its OID must still be there.
void drop_uptime_value(std::vector<std::string>& entries)
{
    for (std::string& e : entries)
        if (e.rfind(".1.3.6.1.2.1.1.3.0 ", 0) == 0)
            e = ".1.3.6.1.2.1.1.3.0 <ticks>";
}

TEST_F(SnmpSessionTest, WalksEqualSnmpwalkOfTheSameAgent)
{
    struct Case {
        const char* address;
        const char* community;
        const char* root;
        size_t at_least;
    } cases[] = {
        {Alpha, "public", ".1.3.6.1.2.1.1", 7},
        {Bravo, "bravocomm", "1.3.6.1.2.1.1", 7},
        {Alpha, "public", ".1.3.6.1.2.1.2", 31},
        {Bravo, "bravocomm", ".1.3.6.1.2.1.2.2", 30},
        {Alpha, "public", ".1.3.6.1.4.1.39871", 20},
        {Bravo, "bravocomm", ".1.3.6.1.4.1.39871.1.2.1", 15},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.address) + " " + c.root);
        auto session = open(c.address, c.community);
        ASSERT_TRUE(session);
        std::vector<std::string> ours;
        int result = session->walk_subtree(ours, c.root, 2000, 2, true);
        EXPECT_EQ(result, WalkSuccess) << session->get_error_text();
        std::vector<std::string> expected = oracle(c.address, c.community, c.root);
        drop_uptime_value(ours);
        drop_uptime_value(expected);
        EXPECT_GE(ours.size(), c.at_least);
        EXPECT_EQ(ours, expected);
    }
}

// Whether a value was scrambled depends on the OID of the answer, not of the
// request: at the border of the enterprise subtree a GETNEXT asked with an
// OID outside it is answered from inside it. A walk of .1.3.6.1.4.1 asks for
// the first enterprise value with the OID of the entry before it.
TEST_F(SnmpSessionTest, ScramblingFollowsTheAnswersOid)
{
    auto session = open(Alpha, "public");
    ASSERT_TRUE(session);
    std::vector<std::string> expected = oracle(Alpha, "public", ".1.3.6.1.4.1.39871");
    ASSERT_GE(expected.size(), 20u);

    std::vector<std::string> ours;
    ASSERT_EQ(session->walk_subtree(ours, ".1.3.6.1.4.1", 2000, 2, true), WalkSuccess);
    auto first = std::find_if(ours.begin(), ours.end(),
                              [](const std::string& e) { return e.rfind(".1.3.6.1.4.1.39871.", 0) == 0; });
    // Entries of other enterprises come first: the request was outside.
    ASSERT_NE(first, ours.begin());
    ASSERT_NE(first, ours.end());
    EXPECT_FALSE(is_qor_oid((first - 1)->substr(1, (first - 1)->find(' ') - 1)));
    auto past = std::find_if(first, ours.end(),
                             [](const std::string& e) { return e.rfind(".1.3.6.1.4.1.39871.", 0) != 0; });
    EXPECT_EQ(std::vector<std::string>(first, past), expected);

    // One GETNEXT from just below the subtree.
    std::string oid = "1.3.6.1.4.1.39870";
    int status = -1;
    std::string value = session->request(oid, status, 2000, SNMP_PDU_GETNEXT);
    ASSERT_EQ(status, SnmpStatusAnswered);
    EXPECT_EQ("." + oid + " " + value, expected.front());
    EXPECT_EQ(value, "Hex-STRING:514F52206167656E7420616C706861");  // "QOR agent alpha"
}

TEST_F(SnmpSessionTest, ValueModeGivesTheTextsAlone)
{
    auto session = open(Alpha, "public");
    ASSERT_TRUE(session);
    std::vector<std::string> values;
    ASSERT_EQ(session->walk_subtree(values, ".1.3.6.1.2.1.2.2.1.10", 2000, 2, false), WalkSuccess);
    // Counter32 values from 2^31 up stay positive.
    EXPECT_EQ(values, (std::vector<std::string>{"4294967294", "4294967293", "4294967292"}));
    ASSERT_EQ(session->walk_subtree(values, ".1.3.6.1.4.1.39871.1.2.1.2", 2000, 2, false), WalkSuccess);
    // "disk1 alpha", unscrambled.
    EXPECT_EQ(values.at(0), "Hex-STRING:6469736B3120616C706861");
    ASSERT_EQ(session->walk_subtree(values, ".1.3.6.1.4.1.39871.1.3", 2000, 2, false), WalkSuccess);
    EXPECT_EQ(values, (std::vector<std::string>{".1.3.6.1.4.1.39871.9.1"}));
}

TEST_F(SnmpSessionTest, GetAnswersWithTheValueAndItsOid)
{
    auto session = open(Bravo, "bravocomm");
    ASSERT_TRUE(session);
    std::string oid = "1.3.6.1.2.1.1.5.0";
    int status = -1;
    std::string value = session->request(oid, status, 2000, SNMP_PDU_GET);
    EXPECT_EQ(status, SnmpStatusAnswered);
    EXPECT_EQ(value, "Hex-STRING:627261766F");  // "bravo"
    EXPECT_EQ(oid, "1.3.6.1.2.1.1.5.0");

    oid = "1.3.6.1.2.1.1.1.0";
    value = session->request(oid, status, 2000, SNMP_PDU_SET);
    EXPECT_EQ(status, SnmpStatusFailure);
    EXPECT_EQ(value, "");
    EXPECT_EQ(session->get_error_code(), SnmpErrorPduType);
    EXPECT_TRUE(session->is_usable());
}

TEST_F(SnmpSessionTest, LateAnswersNeverEndALaterRequest)
{
    auto session = open(Stale, "public");
    ASSERT_TRUE(session);
    for (int i = 0; i < 10; ++i) {
        SCOPED_TRACE(i);
        // Its answer is held back until the next request, and then arrives
        // first, while that request waits for its own.
        std::string first = "1.3.6.1.4.1.39871.1.2.1.1.2";
        int status = -1;
        std::string value = session->request(first, status, i % 2 == 0 ? 0 : 300, SNMP_PDU_GET);
        EXPECT_EQ(status, SnmpStatusTimeout);
        EXPECT_EQ(value, "");
        EXPECT_EQ(first, "1.3.6.1.4.1.39871.1.2.1.1.2");
        std::string second = "1.3.6.1.2.1.1.4.0";
        value = session->request(second, status, 5000, SNMP_PDU_GET);
        ASSERT_EQ(status, SnmpStatusAnswered);
        EXPECT_EQ(second, "1.3.6.1.2.1.1.4.0");
        EXPECT_EQ(value, "Hex-STRING:61646D696E407374616C65");  // "admin@stale"
    }
}

TEST_F(SnmpSessionTest, SilentHostsAndWrongCommunitiesTimeOut)
{
    struct Case {
        const char* address;
        const char* community;
    } cases[] = {{Silent, "public"}, {Alpha, "wrongcomm"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address);
        auto session = open(c.address, c.community);
        ASSERT_TRUE(session);
        std::string oid = "1.3.6.1.2.1.1.5.0";
        int status = -1;
        EXPECT_EQ(session->request(oid, status, 300, SNMP_PDU_GET), "");
        EXPECT_EQ(status, SnmpStatusTimeout);
        EXPECT_EQ(oid, "1.3.6.1.2.1.1.5.0");

        std::vector<std::string> values{"stale"};
        EXPECT_EQ(session->walk_subtree(values, ".1.3.6.1.2.1.1", 300, 2, false), WalkTimeout);
        EXPECT_TRUE(values.empty());
        EXPECT_EQ(session->walk_subtree(values, ".1.3.6.1.2.1.1", 300, 1, false), WalkTimeout);
        EXPECT_TRUE(session->is_usable());
    }
}

TEST_F(SnmpSessionTest, WalkResultCodes)
{
    auto session = open(Slow, "public");
    ASSERT_TRUE(session);
    std::vector<std::string> values;
    // The first QOR request is answered "not ready", the next ones normally.
    EXPECT_EQ(session->walk_subtree(values, ".1.3.6.1.4.1.39871", 2000, 2, false), WalkAgentNotReady);
    EXPECT_TRUE(values.empty());
    EXPECT_EQ(session->walk_subtree(values, ".1.3.6.1.4.1.39871.1", 2000, 2, false), WalkSuccess);
    EXPECT_GE(values.size(), 20u);
    // An agent that goes back never makes the walk loop.
    EXPECT_EQ(session->walk_subtree(values, ".1.3.6.1.4.1.39871.3", 2000, 2, false), WalkOidNotIncreasing);
    EXPECT_EQ(values, (std::vector<std::string>{"31", "32"}));
    // Nothing under the root: the first answer is already outside.
    EXPECT_EQ(session->walk_subtree(values, ".1.3.6.1.2.1.1.9.1.99", 2000, 2, false), WalkNoData);
    EXPECT_TRUE(values.empty());
    // The end of the agent's tree: v1 answers with the asked OID again.
    EXPECT_EQ(session->walk_subtree(values, ".1.3.6.1.6.3.99", 2000, 2, false), WalkOidNotIncreasing);
    // The root is a prefix on whole arcs: .1.3.6.1.2.1.1 stops before .1.3.6.1.2.1.10+.
    ASSERT_EQ(session->walk_subtree(values, ".1.3.6.1.2.1.1", 2000, 2, true), WalkSuccess);
    for (const std::string& line : values)
        EXPECT_EQ(line.rfind(".1.3.6.1.2.1.1.", 0), 0u) << line;
    EXPECT_EQ(session->walk_subtree(values, "not an oid", 2000, 2, true), WalkFailure);
}

TEST_F(SnmpSessionTest, SessionsFromSeveralThreads)
{
    std::vector<std::string> expected_alpha = oracle(Alpha, "public", ".1.3.6.1.4.1.39871");
    std::vector<std::string> expected_bravo = oracle(Bravo, "bravocomm", ".1.3.6.1.4.1.39871");
    ASSERT_FALSE(expected_alpha.empty());
    const int threads = 4;
    std::vector<int> mismatches(threads, 0);
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([&, t] {
            bool alpha = t % 2 == 0;
            CSnmpSession* s = master->create_session(alpha ? Alpha : Bravo,
                                                     alpha ? "public" : "bravocomm", true, 2, 2);
            if (!s) {
                mismatches[t] = 1000;
                return;
            }
            for (int round = 0; round < 5; ++round) {
                std::vector<std::string> lines;
                if (s->walk_subtree(lines, ".1.3.6.1.4.1.39871", s->get_timeout(), s->get_retries(), true) != WalkSuccess ||
                    lines != (alpha ? expected_alpha : expected_bravo))
                    ++mismatches[t];
            }
            delete s;
        });
    }
    for (std::thread& w : workers)
        w.join();
    for (int t = 0; t < threads; ++t)
        EXPECT_EQ(mismatches[t], 0) << "thread " << t;
    EXPECT_EQ(master->session_count(), 0u);
}

TEST_F(SnmpSessionTest, MasterAppliesSettingsToRegisteredSessions)
{
    CSnmpSession* a = master->create_session(Alpha, "public", true, 2, 3);
    CSnmpSession* b = master->create_session(Bravo, "bravocomm", true, 4, 1);
    auto unregistered = open(Alpha, "public");
    ASSERT_TRUE(a && b && unregistered);
    EXPECT_EQ(master->session_count(), 2u);
    EXPECT_EQ(a->get_timeout(), 2000);
    master->set_timeouts(7, -1);
    EXPECT_EQ(a->get_timeout(), 7000);
    EXPECT_EQ(b->get_timeout(), 7000);
    EXPECT_EQ(a->get_retries(), 3);
    EXPECT_EQ(b->get_retries(), 1);
    master->set_timeouts(-1, 5);
    EXPECT_EQ(b->get_retries(), 5);
    EXPECT_EQ(unregistered->get_timeout(), 2000);
    delete a;
    EXPECT_EQ(master->session_count(), 1u);
    delete b;
    EXPECT_EQ(master->session_count(), 0u);

    struct Setting {
        int value, timeout, retries;
    } settings[] = {{-1, 5, 2}, {0, 5, 2}, {3, 3, 3}};
    for (const Setting& s : settings) {
        EXPECT_EQ(snmp_timeout_seconds(s.value), s.timeout);
        EXPECT_EQ(snmp_retries(s.value), s.retries);
    }
}

TEST_F(SnmpSessionTest, APeerTextThatIsNoDottedQuadIsLookedUp)
{
    // The resolver reads 127.0.15617 as 127.0.61.1; no name server is asked.
    auto by_name = open("127.0.15617", "public");
    auto by_address = open(Alpha, "public");
    ASSERT_TRUE(by_name && by_address);
    std::vector<std::string> named, direct;
    ASSERT_EQ(by_name->walk_subtree(named, ".1.3.6.1.2.1.1.6", 2000, 2, false), WalkSuccess)
        << by_name->get_error_text();
    ASSERT_EQ(by_address->walk_subtree(direct, ".1.3.6.1.2.1.1.6", 2000, 2, false), WalkSuccess);
    EXPECT_EQ(named, direct);
    EXPECT_EQ(named.size(), 1u);
}

TEST_F(SnmpSessionTest, BadPeersAreRefused)
{
    EXPECT_EQ(master->create_session("udp:127.0.61.1:1161", "public", false, 1, 1), nullptr);
    EXPECT_NE(master->get_error_text().find("Cannot create SnmpEntity"), std::string::npos);
    master->clear_error();
}

TEST_F(SnmpSessionTest, ARepeatedRequestCompletesTheWalk)
{
    const char* root = ".1.3.6.1.4.1.39871.1";
    // The first request is lost and times out; the repeated one is answered.
    auto session = open(Lossy, "public");
    ASSERT_TRUE(session);
    std::vector<std::string> lines;
    // One retry is one more send of the lost request.
    EXPECT_EQ(session->walk_subtree(lines, root, 2000, 1, true), WalkSuccess) << session->get_error_text();
    std::vector<std::string> expected = oracle(Lossy, "public", root);
    EXPECT_GE(expected.size(), 20u);
    EXPECT_EQ(lines, expected);

    // Without a retry the same loss ends the walk.
    auto once = open(Lossy2, "public");
    ASSERT_TRUE(once);
    lines = {"stale"};
    EXPECT_EQ(once->walk_subtree(lines, root, 2000, 0, true), WalkTimeout);
    EXPECT_TRUE(lines.empty());
}

// Requests the agent has received, as it counts them (snmpInPkts); the
// reading itself is one more. Sent once, with a time-out no busy agent
// reaches, so that no repeated reading is counted.
long long agent_requests(const std::string& address, const std::string& community = "public")
{
    return std::atoll(run_program({"snmpget", "-v1", "-c", community, "-Oqv", "-t", "60", "-r", "0", address,
                                   ".1.3.6.1.2.1.11.1.0"})
                          .c_str());
}

// Columns read side by side: each column holds what its own walk reads, in
// both forms, for far fewer requests; later walks of those columns, or of
// subtrees inside a whole walk, are answered from the host cache without a
// request, until the peer changes.
TEST_F(SnmpSessionTest, ColumnsWalkedTogetherAndKeptForTheHost)
{
    const std::vector<std::string> columns = {".1.3.6.1.2.1.2.2.1.2",   ".1.3.6.1.2.1.2.2.1.3",
                                              ".1.3.6.1.2.1.2.2.1.5",   ".1.3.6.1.4.1.39871.1.2",
                                              ".1.3.6.1.2.1.1.9.1.2",   ".1.3.6.1.2.1.1.9.1.3"};
    auto session = open(Alpha, "public");
    ASSERT_TRUE(session);
    std::vector<std::vector<std::string>> alone_values, alone_lines;
    long long before = agent_requests(Alpha);
    for (const std::string& c : columns) {
        alone_values.emplace_back();
        alone_lines.emplace_back();
        ASSERT_EQ(session->walk_subtree(alone_values.back(), c, 2000, 2, false), WalkSuccess) << c;
        ASSERT_EQ(session->walk_subtree(alone_lines.back(), c, 2000, 2, true), WalkSuccess) << c;
    }
    const long long alone = (agent_requests(Alpha) - before - 1) / 2;
    std::vector<std::string> description_alone;
    ASSERT_EQ(session->walk_subtree(description_alone, ".1.3.6.1.4.1.39871.1.2.1.2", 2000, 2, false), WalkSuccess);
    ASSERT_FALSE(description_alone.empty());

    session->begin_host_cache();
    before = agent_requests(Alpha);
    EXPECT_EQ(session->walk_together(columns, 2000, 2), WalkSuccess);
    const long long together = agent_requests(Alpha) - before - 1;
    before = agent_requests(Alpha);
    for (size_t i = 0; i < columns.size(); ++i) {
        SCOPED_TRACE(columns[i]);
        std::vector<std::string> values, lines;
        EXPECT_EQ(session->walk_subtree(values, columns[i], 2000, 2, false), WalkSuccess);
        EXPECT_EQ(session->walk_subtree(lines, columns[i], 2000, 2, true), WalkSuccess);
        EXPECT_EQ(values, alone_values[i]);
        EXPECT_EQ(lines, alone_lines[i]);
    }
    // Inside a whole walk: one row's cell, and a subtree with nothing in it.
    std::vector<std::string> description, nothing{"stale"};
    EXPECT_EQ(session->walk_subtree(description, ".1.3.6.1.4.1.39871.1.2.1.2", 2000, 2, false), WalkSuccess);
    EXPECT_EQ(description, description_alone);
    EXPECT_EQ(session->walk_subtree(nothing, ".1.3.6.1.4.1.39871.1.2.9", 2000, 2, false), WalkNoData);
    EXPECT_TRUE(nothing.empty());
    EXPECT_EQ(agent_requests(Alpha) - before - 1, 0);
    // Alone, each column costs a request per row and one past it; together
    // the columns cost what the longest one does.
    EXPECT_LE(together * 3, alone) << together << " requests together, " << alone << " alone";

    // Another peer (here the same one again) starts afresh.
    ASSERT_TRUE(session->set_peer(Alpha, "public"));
    before = agent_requests(Alpha);
    EXPECT_EQ(session->walk_subtree(description, ".1.3.6.1.4.1.39871.1.2.1.2", 2000, 2, false), WalkSuccess);
    EXPECT_EQ(agent_requests(Alpha) - before - 1, static_cast<long long>(description_alone.size()) + 1);
    session->end_host_cache();
}

// Whether a column has entries costs one request, none when the host cache
// already holds a walk that answers it.
TEST_F(SnmpSessionTest, ProbingASubtreeCostsOneRequest)
{
    auto session = open(Alpha, "public");
    ASSERT_TRUE(session);
    struct Case {
        const char* root;
        int result;
    } cases[] = {{".1.3.6.1.2.1.2.2.1.2", WalkSuccess},
                 {".1.3.6.1.2.1.1.9.1.99", WalkNoData},
                 {".1.3.6.1.6.3.99", WalkOidNotIncreasing}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.root);
        const long long before = agent_requests(Alpha);
        EXPECT_EQ(session->probe_subtree(c.root, 2000, 2), c.result);
        EXPECT_EQ(agent_requests(Alpha) - before - 1, 1);
    }
    session->begin_host_cache();
    std::vector<std::string> names;
    ASSERT_EQ(session->walk_subtree(names, ".1.3.6.1.2.1.2.2.1", 2000, 2, false), WalkSuccess);
    const long long before = agent_requests(Alpha);
    EXPECT_EQ(session->probe_subtree(".1.3.6.1.2.1.2.2.1.2", 2000, 2), WalkSuccess);
    EXPECT_EQ(session->probe_subtree(".1.3.6.1.2.1.2.2.1.99", 2000, 2), WalkNoData);
    EXPECT_EQ(agent_requests(Alpha) - before - 1, 0);
    session->end_host_cache();
}

// An answer with an error status (SNMPv1's noSuchName at the end of the
// agent's tree) makes the walks go on one binding at a time, with the results
// their own walks give; "not ready" for any of them is the result of all.
TEST_F(SnmpSessionTest, WalkingTogetherFallsBackAndStopsWhenNotReady)
{
    auto session = open(Alpha, "public");
    ASSERT_TRUE(session);
    const std::vector<std::string> roots = {".1.3.6.1.6.3.99", ".1.3.6.1.2.1.1"};
    std::vector<std::string> end_alone, system_alone;
    ASSERT_EQ(session->walk_subtree(end_alone, roots[0], 2000, 2, true), WalkOidNotIncreasing);
    ASSERT_EQ(session->walk_subtree(system_alone, roots[1], 2000, 2, true), WalkSuccess);
    drop_uptime_value(system_alone);
    session->begin_host_cache();
    EXPECT_EQ(session->walk_together(roots, 2000, 2), WalkSuccess);
    const long long before = agent_requests(Alpha);
    std::vector<std::string> end, system;
    EXPECT_EQ(session->walk_subtree(end, roots[0], 2000, 2, true), WalkOidNotIncreasing);
    EXPECT_EQ(session->walk_subtree(system, roots[1], 2000, 2, true), WalkSuccess);
    EXPECT_EQ(agent_requests(Alpha) - before - 1, 0);
    drop_uptime_value(system);
    EXPECT_EQ(end, end_alone);
    EXPECT_EQ(system, system_alone);
    session->end_host_cache();

    // The agent's first QOR answer is "not ready"; nothing is kept.
    auto slow = open(Preparing, "public");
    ASSERT_TRUE(slow);
    slow->begin_host_cache();
    EXPECT_EQ(slow->walk_together({".1.3.6.1.2.1.1.5", ".1.3.6.1.4.1.39871.1"}, 2000, 2), WalkAgentNotReady);
    std::vector<std::string> qor;
    EXPECT_EQ(slow->walk_subtree(qor, ".1.3.6.1.4.1.39871.1", 2000, 2, false), WalkSuccess);
    EXPECT_GE(qor.size(), 20u);
    slow->end_host_cache();
}

TEST_F(SnmpSessionTest, WalkStopsAtItsSizeLimits)
{
    auto session = open(Alpha, "public");
    ASSERT_TRUE(session);
    std::vector<std::string> all;
    ASSERT_EQ(session->walk_subtree(all, ".1.3.6.1.4.1.39871.1", 2000, 2, false), WalkSuccess);
    ASSERT_GE(all.size(), 20u);
    size_t through_third = all[0].size() + all[1].size() + all[2].size();
    struct Case {
        size_t entries, bytes, kept;
    } cases[] = {{5, MaxWalkBytes, 5}, {MaxWalkEntries, through_third, 3}, {MaxWalkEntries, through_third + 1, 4}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.entries) + " entries, " + std::to_string(c.bytes) + " bytes");
        session->set_walk_limits(c.entries, c.bytes);
        std::vector<std::string> values;
        EXPECT_EQ(session->walk_subtree(values, ".1.3.6.1.4.1.39871.1", 2000, 2, false), WalkOidNotIncreasing);
        EXPECT_EQ(values, std::vector<std::string>(all.begin(), all.begin() + static_cast<long>(c.kept)));
    }
}

size_t open_descriptors()
{
    size_t count = 0;
    DIR* dir = opendir("/proc/self/fd");
    if (!dir)
        return 0;
    while (dirent* entry = readdir(dir))
        if (entry->d_name[0] != '.')
            ++count;
    closedir(dir);
    return count;
}

TEST_F(SnmpSessionTest, OneSessionVisitsManyHostsWithFewDescriptors)
{
    const size_t before = open_descriptors();
    auto session = open(Alpha, "public");
    ASSERT_TRUE(session);
    struct Host {
        const char* address;
        const char* community;
        std::vector<std::string> system;
    } hosts[] = {{Alpha, "public", {}}, {Bravo, "bravocomm", {}}, {Slow, "public", {}}};
    for (Host& h : hosts) {
        ASSERT_TRUE(session->set_peer(h.address, h.community));
        ASSERT_EQ(session->walk_subtree(h.system, ".1.3.6.1.2.1.1.5", 2000, 2, false), WalkSuccess);
        ASSERT_EQ(h.system.size(), 1u);
    }
    const size_t with_hosts = open_descriptors();
    for (int i = 100; i < 150; ++i) {
        std::string address = "127.0.61." + std::to_string(i);
        ASSERT_TRUE(session->set_peer(address, "public"));
        std::string oid = "1.3.6.1.2.1.1.5.0";
        int status = -1;
        session->request(oid, status, 20, SNMP_PDU_GET);
        EXPECT_EQ(status, SnmpStatusTimeout) << address;
    }
    // The hosts still answer, each as itself, after all those peers.
    for (Host& h : hosts) {
        SCOPED_TRACE(h.address);
        ASSERT_TRUE(session->set_peer(h.address, h.community));
        std::vector<std::string> system;
        EXPECT_EQ(session->walk_subtree(system, ".1.3.6.1.2.1.1.5", 2000, 2, false), WalkSuccess);
        EXPECT_EQ(system, h.system);
    }
    EXPECT_NE(hosts[0].system, hosts[1].system);
    // A few sockets at most stay open, whatever the number of peers asked.
    EXPECT_LE(open_descriptors(), with_hosts + 1);
    session.reset();
    EXPECT_EQ(open_descriptors(), before);
}

TEST_F(SnmpSessionTest, DescriptorsBeyondTheSelectRange)
{
    // Everything the session opens gets a number above 1100.
    const rlim_t needed = 1400;
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &saved), 0);
    if (saved.rlim_max < needed)
        GTEST_SKIP() << "descriptor limit " << saved.rlim_max;
    rlimit raised = saved;
    if (raised.rlim_cur < needed)
        raised.rlim_cur = needed;
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &raised), 0);
    std::vector<int> fillers;
    while (fillers.empty() || fillers.back() < 1100) {
        int fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
        ASSERT_GE(fd, 0);
        fillers.push_back(fd);
    }
    {
        auto session = open(Bravo, "bravocomm");
        ASSERT_TRUE(session);
        std::vector<std::string> lines;
        EXPECT_EQ(session->walk_subtree(lines, ".1.3.6.1.2.1.2.2", 2000, 2, true), WalkSuccess)
            << session->get_error_text();
        EXPECT_EQ(lines, oracle(Bravo, "bravocomm", ".1.3.6.1.2.1.2.2"));
    }
    for (int fd : fillers)
        close(fd);
    setrlimit(RLIMIT_NOFILE, &saved);
}

}  // namespace

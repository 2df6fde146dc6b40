// Table scans, discovery probes and value functions against real snmpd
// agents, checked against snmpwalk of the same agents.
#include "qr_log.h"
#include "scan_table.h"
#include "snmp_agents.h"
#include "snmp_master.h"
#include "snmp_session.h"
#include "value_functions.h"
#include "walk_file.h"

#include "../common/log_capture.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

const char* const Host1 = "127.0.62.1";
const char* const Host2 = "127.0.62.2";  // QOR agent not ready for its first request
const char* const Silent = "127.0.62.250";

TestAgents* agents = nullptr;
CSnmpMaster* master = nullptr;

typedef std::vector<std::string> Values;

class ScanTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        agents = new TestAgents;
        ASSERT_TRUE(agents->start({Host1, "host1", "First scanned host", ".1.3.6.1.4.1.311.1.1.3.1.2"}))
            << agents->error();
        AgentSpec second{Host2, "host2", "Second scanned host", ".1.3.6.1.4.1.39871.1.0.0"};
        second.qor_not_ready = 1;
        ASSERT_TRUE(agents->start(second)) << agents->error();
        master = new CSnmpMaster;
    }
    static void TearDownTestSuite()
    {
        delete master;
        delete agents;
    }

    std::unique_ptr<CSnmpSession> open(const std::string& address, int timeout_seconds = 2, int retries = 2)
    {
        CSnmpSession* s = master->create_session(address, "public", false, timeout_seconds, retries);
        EXPECT_NE(s, nullptr) << master->get_error_text();
        return std::unique_ptr<CSnmpSession>(s);
    }
};

TEST_F(ScanTest, LiveScansReadLikeWalkFilesOfTheSameAgent)
{
    // The walk file as an operator makes it: octet strings of more than 16
    // octets go on over lines, and the enterprise values stay scrambled.
    std::string path = agents->folder() + "/host1.walk";
    std::string text = run_program({"snmpwalk", "-v1", "-c", "public", "-On", "-Oe", "-Ot", Host1, ".1"});
    std::ofstream(path) << text;
    ASSERT_NE(text.find(".1.3.6.1.4.1.39871.1.6.0 = Hex-STRING: "), std::string::npos);

    auto session = open(Host1);
    ASSERT_TRUE(session);
    // Every column reads the same, octets that are not text included, in
    // both forms; none of them moves between the walk and the scan.
    for (const char* oid : {".1.3.6.1.2.1.1.1", ".1.3.6.1.2.1.1.2", ".1.3.6.1.2.1.1.4", ".1.3.6.1.2.1.1.5",
                            ".1.3.6.1.2.1.1.7", ".1.3.6.1.2.1.1.9", ".1.3.6.1.2.1.2.1", ".1.3.6.1.2.1.2.2.1.2",
                            ".1.3.6.1.2.1.2.2.1.5", ".1.3.6.1.2.1.2.2.1.6", ".1.3.6.1.2.1.2.2.1.9",
                            ".1.3.6.1.2.1.2.2.1.10", ".1.3.6.1.2.1.25.2.3.1.3", ".1.3.6.1.2.1.25.6.3.1.2",
                            ".1.3.6.1.2.1.25.6.3.1.5", ".1.3.6.1.4.1.39871", ".1.3.6.1.4.1.39871.1.7,D"}) {
        for (bool lines : {false, true}) {
            SCOPED_TRACE(std::string(oid) + (lines ? " lines" : " values"));
            Values live, file;
            EXPECT_EQ(scan_table(session.get(), Host1, oid, "public", "", live, lines), 0);
            EXPECT_EQ(scan_table(session.get(), Host1, oid, "public", path, file, lines), 0);
            EXPECT_FALSE(live.empty());
            EXPECT_EQ(live, file);
        }
    }
    Values live;
    scan_table(session.get(), Host1, ".1.3.6.1.2.1.2.2.1.6", "public", "", live, false);
    EXPECT_EQ(live, (Values{"001A2B3C4D01", "001A2B3C4D02", "001A2B3C4D03"}));
    scan_table(session.get(), Host1, ".1.3.6.1.2.1.1.5", "public", "", live, true);
    EXPECT_EQ(live, Values{".1.3.6.1.2.1.1.5.0 host1"});
    // The file's enterprise values are the agent's own: unscrambled, and the
    // 300 octets of .6 whole, not the first line of them.
    Values file;
    scan_table(session.get(), Host1, ".1.3.6.1.4.1.39871.1.1", "public", path, file, false);
    EXPECT_EQ(file, Values{"QOR agent host1"});
    scan_table(session.get(), Host1, ".1.3.6.1.4.1.39871.1.2.1.3", "public", path, file, false);
    EXPECT_EQ(file, (Values{"4000000001", "4000000002", "4000000003"}));
    scan_table(session.get(), Host1, ".1.3.6.1.4.1.39871.1.6", "public", path, file, false);
    ASSERT_EQ(file.size(), 1u);
    EXPECT_EQ(file[0].size(), 600u);
}

TEST_F(ScanTest, Probes)
{
    auto session = open(Host1);
    ASSERT_TRUE(session);
    EXPECT_EQ(GetSysObjId(session.get(), Host1, "public", ""), ".1.3.6.1.4.1.311.1.1.3.1.2");
    EXPECT_EQ(GetAgentType(session.get(), Host1, "public", ".1.3.6.1.4.1.39871", ""), 2);
    EXPECT_EQ(GetAgentType(session.get(), Host1, "public", ".1.3.6.1.4.1.39871.5", ""), 1);

    auto second = open(Host2);
    ASSERT_TRUE(second);
    EXPECT_EQ(GetSysObjId(second.get(), Host2, "public", ""), ".1.3.6.1.4.1.39871.1");
    LogCapture log;
    EXPECT_EQ(GetAgentType(second.get(), Host2, "public", ".1.3.6.1.4.1.39871", ""), -1);
    EXPECT_NE(log.text().find("Agent not ready, ip=127.0.62.2,cs=public"), std::string::npos);
    EXPECT_EQ(GetAgentType(second.get(), Host2, "public", ".1.3.6.1.4.1.39871", ""), 2);
}

TEST_F(ScanTest, SilentAgentTimesOut)
{
    auto session = open(Silent, 1, 1);
    ASSERT_TRUE(session);
    LogCapture log;
    Values values{"stale"};
    EXPECT_EQ(scan_table(session.get(), Silent, ".1.3.6.1.2.1.1", "public", "", values, false), 1);
    EXPECT_TRUE(values.empty());
    EXPECT_NE(log.text().find("127.0.62.250, oid:.1.3.6.1.2.1.1. Result from scanning table is: Timeout"),
              std::string::npos);
}

TEST_F(ScanTest, ValueFunctionsOnALiveAgent)
{
    auto session = open(Host1);
    ASSERT_TRUE(session);
    std::string folder = std::string(std::getenv("TRV_BINARY_DIR") ? std::getenv("TRV_BINARY_DIR") : ".") + "/bin";
    struct {
        const char* expression;
        Values expected;
    } cases[] = {
        {"$COUNT(.1.3.6.1.2.1.2.2.1.8=1)", {"2"}},
        {"$GET_INDEX(.1.3.6.1.2.1.2.2.1.2)", {"1", "2", "3"}},
        {"$concat(.1.3.6.1.2.1.2.2.1.2, \"/\", .1.3.6.1.2.1.2.2.1.5)",
         {"eth1-host1/1000000000", "eth2-host1/2000000000", "eth3-host1/3000000000"}},
        {"$SERVICE(.1.3.6.1.2.1.1.7)", {"end-to-end, applications"}},
        // QOR values arrive scrambled and are read as the agent meant them.
        {"$SUM(.1.3.6.1.4.1.39871.1.2.1.4)", {"6000"}},
        // Gauge32 1e9, 2e9, 3e9 and scrambled Counter32 4e9+1..3, in full.
        {"$SUM(.1.3.6.1.2.1.2.2.1.5)", {"6000000000"}},
        {"$SUM(.1.3.6.1.4.1.39871.1.2.1.3)", {"12000000006"}},
        {"$LOOKUP(.1.3.6.1.2.1.2.2.1,8=1,SUM5)", {"3000000000"}},
        {"$DATE(.1.3.6.1.4.1.39871.1.7)", {"2006-05-17, 14:30:00"}},
        {"$IF(.1.3.6.1.2.1.2.2.1.3=24,\"loopback\",.1.3.6.1.2.1.2.2.1.2)", {"loopback", "eth2-host1", "eth3-host1"}},
    };
    for (const auto& c : cases) {
        Values out;
        apply_value_function(session.get(), Host1, c.expression, "public", "", out, folder);
        EXPECT_EQ(out, c.expected) << c.expression;
    }
}

}  // namespace

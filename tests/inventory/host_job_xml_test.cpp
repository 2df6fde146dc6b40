// The TREEITEM of a host built from its scan job, byte for byte, on SQLite
// and PostgreSQL: vendor and class names from the administration fixture,
// the children test from the fixture inventory.
#include "admin_fixture.h"
#include "db_test_env.h"
#include "inventory_fixture.h"
#include "recording_services.h"
#include "xml_golden.h"

#include "job.h"
#include "loader.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

namespace {

using namespace inventory_fixture;

class HostJobXmlTest : public DbBackendTest {
protected:
    void SetUp() override
    {
        admin_ = &AdminFixture::get(backend());
        db_ = InventoryDb::make(backend());
        loader_ = std::make_unique<DataLoader>(db_->pool.get(), &admin_->db_mutex, false);
        services_.set_data_source("ADMIN", admin_->loader.get());
    }
    void TearDown() override { loader_.reset(); }

    AdminFixture* admin_ = nullptr;
    std::unique_ptr<InventoryDb> db_;
    std::unique_ptr<DataLoader> loader_;
    RecordingServices services_;
    ScopedServerServices installed_{services_};
};

TEST_P(HostJobXmlTest, ElementOfARunningScan)
{
    Job job;
    job.set_host_uid(db_->ids.host_a);
    job.set_as_of_id(db_->ids.snapshot);
    job.set_net_addr(host_a_address);
    job.set_dns_name("r\xc3\xb6uter <1> & 'a'");
    job.set_net_name(host_a_netname);
    job.set_has_ping(1);
    job.set_dev_vendor_id(77);
    job.set_dev_class_id(30);
    job.set_dev_group_id(3);
    const std::string date = std::to_string(job.get_time_stamp());
    const std::string xml = print_xml(DataLoader::host_to_xml(loader_.get(), job, 1));
    EXPECT_EQ(xml, "<TREEITEM uid=\"" + std::to_string(db_->ids.host_a) + "\" parent=\"" +
                       std::to_string(db_->ids.snapshot) +
                       "\" type=\"3\" status=\"1\" hosttype=\"3\" locked=\"0\""
                       " name=\"r\xc3\xb6uter &lt;1&gt; &amp; &apos;a&apos; 10.1.1.1\" date=\"" + date +
                       "\" ip=\"10.1.1.1\" dnsname=\"r\xc3\xb6uter &lt;1&gt; &amp; &apos;a&apos;\""
                       " netname=\"HOST&apos;A\" hasping=\"Y\" hassnmp=\"Y\" vendor=\"O&apos;Neil &amp; Sons\""
                       " class=\"Server\" classid=\"30\" haschildren=\"1\" comment=\"\" />");
    TiXmlDocument parsed;
    ASSERT_TRUE(parse_xml(xml, parsed)) << parsed.ErrorDesc();
    EXPECT_STREQ(parsed.RootElement()->Attribute("vendor"), "O'Neil & Sons");
    EXPECT_STREQ(parsed.RootElement()->Attribute("dnsname"), "r\xc3\xb6uter <1> & 'a'");
}

TEST_P(HostJobXmlTest, NewHostWithoutPingOrTabs)
{
    // A host the scan has just found: no row yet, so no children; SNMP is
    // always announced, ping only when it answered.
    Job job;
    job.set_host_uid(900001);
    job.set_as_of_id(db_->ids.snapshot);
    job.set_net_addr("10.9.9.9");
    job.set_dev_vendor_id(123456);  // unknown vendor and class: empty names
    job.set_dev_class_id(-1);
    job.set_dev_group_id(-1);
    const std::string date = std::to_string(job.get_time_stamp());
    EXPECT_EQ(print_xml(DataLoader::host_to_xml(loader_.get(), job, 2)),
              "<TREEITEM uid=\"900001\" parent=\"" + std::to_string(db_->ids.snapshot) +
                  "\" type=\"3\" status=\"2\" hosttype=\"-1\" locked=\"0\" name=\" 10.9.9.9\" date=\"" + date +
                  "\" ip=\"10.9.9.9\" dnsname=\"\" netname=\"\" hasping=\"N\" hassnmp=\"Y\" vendor=\"\" class=\"\""
                  " classid=\"-1\" haschildren=\"0\" comment=\"\" />");
}

TEST_P(HostJobXmlTest, MissingLoaderGivesAnEmptyElement)
{
    LogCapture log;
    Job job;
    job.set_host_uid(db_->ids.host_a);
    EXPECT_EQ(print_xml(DataLoader::host_to_xml(nullptr, job, 1)), "<TREEITEM />");
    EXPECT_EQ(log.count("Common resource error at DataLoader, existance test failed"), 1);
}

INSTANTIATE_TEST_SUITE_P(Backends, HostJobXmlTest, TRV_DB_BACKENDS);

}  // namespace

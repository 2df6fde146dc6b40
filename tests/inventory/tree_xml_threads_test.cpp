// Tree lists built by several threads at once through one loader that
// borrows its connections: the shared database mutex serialises them, nested
// operations re-enter it, and the small pool is never exhausted.
#include "admin_fixture.h"
#include "db_test_env.h"
#include "inventory_fixture.h"
#include "recording_services.h"
#include "xml_golden.h"

#include "loader.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <thread>
#include <vector>

namespace {

class TreeXmlThreadsTest : public DbBackendTest {};

TEST_P(TreeXmlThreadsTest, SameListsFromEveryThread)
{
    AdminFixture& admin = AdminFixture::get(backend());
    auto db = InventoryDb::make(backend());
    // Its pool has 3 connections and the fixture's own loader keeps one.
    DataLoader loader(db->pool.get(), &admin.db_mutex, false);
    RecordingServices services;
    services.set_data_source("ADMIN", admin.loader.get());
    ScopedServerServices installed(services);

    auto list = [&] {
        TiXmlElement all("LIST");
        DataLoader::children_to_xml(&loader, db->ids.folder, all, false);
        return print_xml(all);
    };
    const std::string expected = list();
    ASSERT_NE(expected.find("uid=\"" + std::to_string(db->ids.host_b) + "\""), std::string::npos);

    constexpr int threads = 4, rounds = 5;
    std::vector<std::string> results(threads * rounds);
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t)
        workers.emplace_back([&, t] {
            for (int r = 0; r < rounds; ++r)
                results[t * rounds + r] = list();
        });
    for (std::thread& w : workers)
        w.join();
    for (const std::string& r : results)
        EXPECT_EQ(r, expected);
}

INSTANTIATE_TEST_SUITE_P(Backends, TreeXmlThreadsTest, TRV_DB_BACKENDS);

}  // namespace

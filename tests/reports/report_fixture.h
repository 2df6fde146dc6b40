// Fixtures of the comparison and report tests: the extra administration rows
// of tests/reports/fixtures/report_admin.sql (loaded once per backend into the
// shared administration fixture), a second inventory with two snapshots of
// one network added to a fixture inventory database, and a sink that records
// what a report sends.
//
// The comparison inventory, device 1.3.6.1.4.1.4242.1 throughout:
//   Compare (inventory)
//   |- Monday (snapshot): L1 DEV-1, L2 DEV-2, L3 DEV-3 (class 10), L0 an
//   |                     older scan of DEV-1, LX without a summary row
//   `- Tuesday (snapshot): R1 DEV-1, R2 DEV-2, R4 DEV-4 (class 30)
// L1 and R1 differ in the System, Memory and Disks tabs; L2 and R2 are equal.
#pragma once

#include "admin_fixture.h"
#include "inventory_fixture.h"
#include "report_thread.h"

#include <tinyxml.h>

#include <mutex>
#include <string>
#include <vector>

// The comparison device.
extern const char* const compare_device_oid;

struct CompareIds {
    int inventory = 0;
    int monday = 0;
    int tuesday = 0;
    int l0 = 0, l1 = 0, l2 = 0, l3 = 0, lx = 0;
    int r1 = 0, r2 = 0, r4 = 0;
};

// The administration fixture of backend with the rows of report_admin.sql.
AdminFixture& report_admin(const std::string& backend);

// Adds the comparison inventory to an inventory database.
CompareIds add_compare_inventory(MSSQLODBCConnection& db);

// Records every element sent, printed on one line; drops them once closed.
class RecordingSink : public ReportSink {
public:
    explicit RecordingSink(std::string client_type) : client_type_(std::move(client_type)) {}
    std::string client_type() const override { return client_type_; }
    void send(const TiXmlElement& element) override;

    void close();
    std::vector<std::string> sent() const;

private:
    const std::string client_type_;
    mutable std::mutex m_;
    bool closed_ = false;            // guarded by m_
    std::vector<std::string> sent_;  // guarded by m_
};

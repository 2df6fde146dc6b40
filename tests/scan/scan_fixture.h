// A scan test bench: a fresh inventory database (SQLite unless asked) with one inventory
// item and one dated snapshot below it, a recording stand-in for the
// server's services that hands out the inventory's loader under the client
// type "T", and a scanner built with short polling intervals.
#pragma once

#include "inventory_fixture.h"
#include "recording_services.h"
#include "scanner.h"

#include <memory>
#include <string>
#include <vector>

constexpr const char* ScanClient = "T";
constexpr const char* InventoryTitle = "Inv";

struct ScanBench {
    // ping: the inventory's ping setting; masks: one address range each,
    // "mask|file" for a range read from a walk file.
    ScanBench(int ping, const std::vector<std::string>& masks,
              const std::vector<std::string>& communities = {"public"},
              const std::string& tabs = "", const ScannerOptions& options = quick_options(),
              const std::string& backend = "sqlite");
    ~ScanBench();

    static ScannerOptions quick_options();

    // The integer of a one-value query on the inventory.
    long value(const std::string& sql, int uid) const;
    // How many LOG texts pushed so far contain `what`.
    int logs_with(const std::string& what) const;
    // How many recorded calls of that name were made for the uid.
    int calls(const std::string& name, int uid) const;
    // Registers a scan of the snapshot as the request server does.
    int register_scan();
    // A second client type `key` with an inventory database of its own, made
    // like this one: its inventory and snapshot get the same uids.
    std::unique_ptr<InventoryDb> add_client_type(const std::string& key);
    // Waits (up to two minutes) until the scan has left the registry and the
    // log holds `end_lines` "End Scan" lines: they are sent just after it
    // leaves. False when either does not come.
    bool wait_for_end(int id, int end_lines = 1) const;

    std::unique_ptr<InventoryDb> db;
    RecordingServices services;
    std::unique_ptr<ScopedServerServices> scope;
    int inventory = 0;
    int snapshot = 0;
    std::unique_ptr<Scanner> scanner;

private:
    int ping_;
    std::vector<std::string> masks_, communities_;
    std::string tabs_;
    std::string backend_;
};

// Address ranges as a request thread reads them: the walk file of each (a
// plain name inside SnmpOutput/ is read instead of the agent; a missing file
// and a refused name leave the range to the live agents, each with its own
// error line), and ranges of two whole addresses.
#include "scan_fixture.h"

#include "temp_dir.h"

#include "../common/log_capture.h"

#include <gtest/gtest.h>

#include <map>
#include <sys/stat.h>

namespace {

TEST(ScanRequest, WalkFilesOfRanges)
{
    TempDir folder;
    ::mkdir(folder.file("SnmpOutput").c_str(), 0755);
    WriteWholeFile(folder.file("SnmpOutput/ok.walk"), ".1.3.6.1.2.1.1.5.0 = STRING: \"ok\"\n");
    ScannerOptions options = ScanBench::quick_options();
    options.program_dir = folder.path();
    ScanBench bench(1, {"127.0.63.5|../SnmpOutput/ok.walk", "127.0.63.6|missing.walk", "127.0.63.7|ok.walk",
                        "127.0.63.8|/etc/passwd", "127.0.63.9"},
                    {"public"}, "", options);
    set_errorlevel("11111111100000000000");
    LogCapture log;
    ScanRequest request;
    request.scan_id = bench.register_scan();
    request.as_of_id = bench.snapshot;
    request.client_type = ScanClient;
    scan_request_thread(*bench.scanner, request);

    std::map<std::string, std::string> files;
    bench.scanner->jobs().for_each([&](Job& job) { files[job.get_net_addr()] = job.get_walk_file(); });
    EXPECT_EQ(files, (std::map<std::string, std::string>{{"127.0.63.5", ""},
                                                          {"127.0.63.6", ""},
                                                          {"127.0.63.7", folder.file("SnmpOutput/ok.walk")},
                                                          {"127.0.63.8", ""},
                                                          {"127.0.63.9", ""}}));
    std::string text = log.text();
    for (const char* name : {"../SnmpOutput/ok.walk", "/etc/passwd"})
        EXPECT_NE(text.find(std::string("Walk file name refused: '") + name +
                            "' is not a plain file name in SnmpOutput; the range is scanned live"),
                  std::string::npos)
            << name;
    EXPECT_NE(text.find("File not exist: " + folder.file("SnmpOutput/missing.walk")), std::string::npos);
    EXPECT_EQ(text.find("File not exist: ../"), std::string::npos);
    EXPECT_EQ(text.find("File not exist: /etc"), std::string::npos);
}

// A range written as two addresses joined by a dash, as the console writes
// it, and one stored with its last address apart, give every address between.
TEST(ScanRequest, RangesOfTwoAddresses)
{
    ScanBench bench(1, {"127.0.63.20 - 127.0.63.22", "127 . 0 . 63 . 30"}, {"public"}, "",
                    ScanBench::quick_options());
    bench.db->connect()->get_stmnt_results("UPDATE InventoryIPs SET IPTo=? WHERE IPFrom=?",
                                           {std::string("127.0.63.31"), std::string("127 . 0 . 63 . 30")});
    ScanRequest request;
    request.scan_id = bench.register_scan();
    request.as_of_id = bench.snapshot;
    request.client_type = ScanClient;
    scan_request_thread(*bench.scanner, request);

    std::vector<std::string> addresses;
    bench.scanner->jobs().for_each([&](Job& job) { addresses.push_back(job.get_net_addr()); });
    EXPECT_EQ(addresses, (std::vector<std::string>{"127.0.63.20", "127.0.63.21", "127.0.63.22", "127.0.63.30",
                                                   "127.0.63.31"}));
}

}  // namespace

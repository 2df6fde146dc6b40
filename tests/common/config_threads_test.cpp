// Sections and time texts are read from many threads at once without locks;
// XML sections of one document are read and written at once under its lock.
#include "qr_config.h"
#include "qr_strings.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

TEST(ConfigThreads, SectionsAndTimesAreReadConcurrently)
{
    setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
    tzset();
    char pattern[] = "/tmp/trv-config-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    std::string dir = pattern;
    std::ofstream(dir + "/s.ini") << "[net]\nport=5000\n";
    std::ofstream(dir + "/s.xml") << "<?xml version=\"1.0\"?><SERVER Port=\"6000\"><DB n=\"a\"/></SERVER>";

    Config ini;
    ini.ReadFromFile(dir + "/s.ini");
    TinyConfig file(dir + "/s.xml");
    TinyConfig server(file, "SERVER");

    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 6; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 300; ++i) {
                if (ini.Get("NET", "port") != "5000" || server.Get("SERVER", "Port") != "6000" ||
                    server.Get("DB", "n") != "a" ||
                    ParseDateTime("2007-07-01 00:00:00.") != 1183240800 ||
                    FormatDateTime(1183240800) != "2007-07-01 00:00:00")
                    ++wrong;
            }
        });
    }
    for (auto& th : threads)
        th.join();
    EXPECT_EQ(wrong.load(), 0);
    std::filesystem::remove_all(dir);
}

TEST(ConfigThreads, XmlSectionsOfOneDocumentAreReadWhileWritten)
{
    char pattern[] = "/tmp/trv-config-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    std::string dir = pattern;
    std::ofstream(dir + "/c.xml") << "<CONSOLE><VIEW Columns=\"7\"><SERVER Host=\"beta\"/></VIEW></CONSOLE>";

    XMLConfig file(dir + "/c.xml");
    XMLConfig view(file, "VIEW");
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    threads.emplace_back([&] {
        for (int i = 0; i < 50; ++i) {
            file.Put("COUNTER", "n", std::to_string(i));  // adds an element on the first round
            if (view.setValue("Columns", std::to_string(i)) != 0)
                ++wrong;
        }
    });
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            std::string value, name;
            for (int i = 0; i < 300; ++i) {
                if (view.Get("SERVER", "Host") != "beta" || view.getValue("Columns", value) != 0 ||
                    view.getName(name) != 0 || name != "VIEW")
                    ++wrong;
            }
        });
    }
    for (auto& th : threads)
        th.join();
    EXPECT_EQ(wrong.load(), 0);
    EXPECT_EQ(XMLConfig(dir + "/c.xml").Get("COUNTER", "n"), "49");
    std::filesystem::remove_all(dir);
}

#include "admin_fixture.h"

#include "db_test_env.h"
#include "qr_log.h"
#include "schema_scripts.h"

#include <cstdlib>
#include <map>
#include <mutex>

namespace {

std::mutex fixtures_mutex;
std::map<std::string, std::unique_ptr<AdminFixture>> fixtures;  // guarded by fixtures_mutex

class DropFixtures : public ::testing::Environment {
public:
    void TearDown() override
    {
        std::lock_guard<std::mutex> hold(fixtures_mutex);
        fixtures.clear();
    }
};

[[maybe_unused]] ::testing::Environment* const drop_fixtures =
    ::testing::AddGlobalTestEnvironment(new DropFixtures);

std::string fixture_script()
{
    const char* source = std::getenv("TRV_SOURCE_DIR");
    if (!source)
        throw std::runtime_error("TRV_SOURCE_DIR is not set");
    return read_file_text(std::string(source) + "/tests/inventory/fixtures/admin_fixture.sql");
}

}  // namespace

AdminFixture& AdminFixture::get(const std::string& backend)
{
    std::lock_guard<std::mutex> hold(fixtures_mutex);
    auto& slot = fixtures[backend];
    if (!slot) {
        auto f = std::make_unique<AdminFixture>();
        f->dsn = DbTestEnvironment::get().fresh_data_source(backend, "admin");
        run_schema_script(*open_connection(f->dsn), fixture_script());
        f->pool.reset(MSSQLPool_ctor(4, f->dsn, f->dsn, "", ""));
        f->pool->for_each([](MSSQLODBCConnection& c) { c.set_reconnect_policy({std::chrono::milliseconds(50), 20}); });
        f->pool->open_all();
        f->loader = std::make_unique<DataLoader>(f->pool.get(), &f->db_mutex, true);
        slot = std::move(f);
    }
    return *slot;
}

std::unique_ptr<MSSQLODBCConnection> AdminFixture::connect() const
{
    return open_connection(dsn);
}

LogCapture::LogCapture() : file_(std::tmpfile()), previous_(get_log_file_fd()), mask_(get_errormask())
{
    set_log_file_fd(file_);
    set_errorlevel(qr_Debug);
}

LogCapture::~LogCapture()
{
    set_log_file_fd(previous_);
    set_errorlevel(mask_.substr(1).c_str());
    std::fclose(file_);
}

std::string LogCapture::text() const
{
    std::fflush(file_);
    std::string out;
    std::rewind(file_);
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file_)) > 0)
        out.append(buffer, n);
    std::fseek(file_, 0, SEEK_END);
    return out;
}

int LogCapture::count(const std::string& what) const
{
    const std::string all = text();
    int n = 0;
    size_t line_start = 0;
    while (line_start < all.size()) {
        size_t end = all.find('\n', line_start);
        if (end == std::string::npos)
            end = all.size();
        if (all.substr(line_start, end - line_start).find(what) != std::string::npos)
            ++n;
        line_start = end + 1;
    }
    return n;
}

#include "platform/sqlite_store.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::registry {
namespace {

constexpr const char* kSchema = R"sql(
CREATE TABLE IF NOT EXISTS keys(
    id INTEGER PRIMARY KEY,
    parent INTEGER NOT NULL,
    name TEXT NOT NULL COLLATE NOCASE,
    UNIQUE(parent, name));
CREATE TABLE IF NOT EXISTS reg_values(
    key INTEGER NOT NULL,
    name TEXT NOT NULL COLLATE NOCASE,
    type INTEGER NOT NULL,
    data BLOB NOT NULL,
    PRIMARY KEY(key, name));
INSERT OR IGNORE INTO keys(id, parent, name) VALUES
    (1, 0, 'HKEY_LOCAL_MACHINE'), (2, 0, 'HKEY_CLASSES_ROOT');
)sql";

constexpr int kBusyTimeoutMs = 15000;

// A prepared statement that finalises itself.
class Statement {
public:
    Statement(sqlite3* db, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr); }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool Ok() const { return stmt_ != nullptr; }
    Statement& Bind(int index, std::int64_t value) {
        sqlite3_bind_int64(stmt_, index, value);
        return *this;
    }
    Statement& Bind(int index, std::string_view text) {
        sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()),
                          SQLITE_TRANSIENT);
        return *this;
    }
    Statement& Bind(int index, const std::vector<std::uint8_t>& blob) {
        // A zero-length blob must stay a blob, not NULL.
        static const std::uint8_t empty = 0;
        sqlite3_bind_blob(stmt_, index, blob.empty() ? &empty : blob.data(),
                          static_cast<int>(blob.size()), SQLITE_TRANSIENT);
        return *this;
    }
    int Step() { return stmt_ ? sqlite3_step(stmt_) : SQLITE_ERROR; }
    std::int64_t Int(int column) const { return sqlite3_column_int64(stmt_, column); }
    std::string Text(int column) const {
        const auto* text = sqlite3_column_text(stmt_, column);
        return text ? std::string(reinterpret_cast<const char*>(text),
                                  static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column)))
                    : std::string();
    }
    std::vector<std::uint8_t> Blob(int column) const {
        const auto* data = static_cast<const std::uint8_t*>(sqlite3_column_blob(stmt_, column));
        const auto size = static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column));
        return data ? std::vector<std::uint8_t>(data, data + size) : std::vector<std::uint8_t>{};
    }

private:
    sqlite3_stmt* stmt_ = nullptr;
};

void PrepareFolderAndFile(const std::filesystem::path& file) {
    std::error_code ec;
    const auto folder = file.parent_path();
    if (!std::filesystem::exists(folder, ec)) {
        std::filesystem::create_directories(folder, ec);
        chmod(folder.c_str(), 0700);
    }
    // Created here, not by SQLite, so that it is the user's alone from the first byte.
    const int fd = open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd >= 0)
        close(fd);
}

bool IsBusyCode(int code) {
    const int primary = code & 0xFF;
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

// SQLITE_OK, or the code that made the connection unusable; a failed integrity check counts
// as SQLITE_CORRUPT.
std::string JournalMode(sqlite3* db, int& code) {
    Statement mode(db, "PRAGMA journal_mode");
    code = mode.Ok() ? mode.Step() : sqlite3_errcode(db);
    if (code != SQLITE_ROW)
        return {};
    code = SQLITE_OK;
    return mode.Text(0);
}

int QuickCheck(sqlite3* db) {
    Statement check(db, "PRAGMA quick_check");
    const int step = check.Ok() ? check.Step() : sqlite3_errcode(db);
    if (step != SQLITE_ROW)
        return step;
    return check.Text(0) == "ok" ? SQLITE_OK : SQLITE_CORRUPT;
}

int InitialiseOnce(sqlite3* db) {
    int code = SQLITE_OK;
    // The mode is kept in the file: only the copy that creates the store has to set it.
    const std::string mode = JournalMode(db, code);
    if (code == SQLITE_OK && mode != "wal")
        code = sqlite3_exec(db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
    if (code == SQLITE_OK)
        code = QuickCheck(db);
    if (code == SQLITE_OK)
        code = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (code == SQLITE_OK)
        code = sqlite3_exec(db, kSchema, nullptr, nullptr, nullptr);
    if (code == SQLITE_OK)
        code = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    return code;
}

// Some of these steps answer "busy" at once instead of waiting for the busy handler, for
// instance while another copy is creating the store; they are tried again for a while.
int Initialise(sqlite3* db) {
    int code = SQLITE_BUSY;
    for (int waitedMs = 0; waitedMs < kBusyTimeoutMs; waitedMs += 5) {
        code = InitialiseOnce(db);
        if (!IsBusyCode(code))
            break;
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        usleep(5000);
    }
    return code;
}

bool IsDamageCode(int code) {
    const int primary = code & 0xFF;
    return primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT;
}

void MoveAside(const std::string& path) {
    char stamp[32];
    const std::time_t now = std::time(nullptr);
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", std::localtime(&now));
    const std::string aside = path + ".damaged-" + stamp;
    std::rename(path.c_str(), aside.c_str());
    for (const char* suffix : {"-wal", "-shm"})
        std::remove((path + suffix).c_str());
    std::fprintf(stderr,
                 "tamblewick: the settings store %s was damaged; it was moved to %s and a new "
                 "one was started.\n",
                 path.c_str(), aside.c_str());
}

sqlite3* OpenDatabase(const std::string& path) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        PrepareFolderAndFile(path);
        sqlite3* db = nullptr;
        int code = sqlite3_open_v2(path.c_str(), &db,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                                   nullptr);
        if (code == SQLITE_OK) {
            sqlite3_busy_timeout(db, kBusyTimeoutMs);
            sqlite3_extended_result_codes(db, 1);
            code = Initialise(db);
            if (code == SQLITE_OK)
                return db;
        }
        sqlite3_close(db);
        if (!IsDamageCode(code))
            return nullptr;
        MoveAside(path);
    }
    return nullptr;
}

struct ThreadConnection {
    std::string path;
    std::unique_ptr<SqliteStore> store;
};

} // namespace

SqliteStore::~SqliteStore() {
    sqlite3_close(db_);
}

std::string SqliteStore::DefaultPath() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::filesystem::path base;
    if (config && *config) {
        base = config;
    } else {
        const char* home = std::getenv("HOME");
        base = std::filesystem::path(home ? home : ".") / ".config";
    }
    return (base / "tamblewick" / "registry.sqlite3").string();
}

SqliteStore* SqliteStore::ForThisThread() {
    thread_local ThreadConnection connection;
    const std::string path = DefaultPath();
    if (!connection.store || connection.path != path) {
        connection.store.reset();
        if (sqlite3* db = OpenDatabase(path))
            connection.store = std::make_unique<SqliteStore>(db);
        connection.path = path;
    }
    return connection.store.get();
}

bool SqliteStore::Exec(const char* sql) {
    return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

bool SqliteStore::InWriteTransaction(const std::function<bool()>& work) {
    if (!Exec("BEGIN IMMEDIATE"))
        return false;
    if (work() && Exec("COMMIT"))
        return true;
    Exec("ROLLBACK");
    return false;
}

std::optional<std::int64_t> SqliteStore::ChildKey(std::int64_t parent, std::string_view name) {
    Statement find(db_, "SELECT id FROM keys WHERE parent = ?1 AND name = ?2");
    if (find.Bind(1, parent).Bind(2, name).Step() != SQLITE_ROW)
        return std::nullopt;
    return find.Int(0);
}

std::optional<std::int64_t> SqliteStore::InsertKey(std::int64_t parent, std::string_view name) {
    Statement insert(db_, "INSERT INTO keys(parent, name) VALUES(?1, ?2)");
    if (insert.Bind(1, parent).Bind(2, name).Step() != SQLITE_DONE)
        return std::nullopt;
    return sqlite3_last_insert_rowid(db_);
}

std::vector<std::string> SqliteStore::ChildNames(std::int64_t key) {
    Statement list(db_, "SELECT name FROM keys WHERE parent = ?1");
    list.Bind(1, key);
    std::vector<std::string> names;
    while (list.Step() == SQLITE_ROW)
        names.push_back(list.Text(0));
    return names;
}

bool SqliteStore::RemoveKeyTree(std::int64_t key) {
    constexpr const char* kTree = "WITH RECURSIVE tree(id) AS (SELECT ?1 UNION ALL "
                                  "SELECT keys.id FROM keys JOIN tree ON keys.parent = tree.id) ";
    Statement values(
        db_,
        (std::string(kTree) + "DELETE FROM reg_values WHERE key IN (SELECT id FROM tree)").c_str());
    Statement keys(
        db_, (std::string(kTree) + "DELETE FROM keys WHERE id IN (SELECT id FROM tree)").c_str());
    return values.Bind(1, key).Step() == SQLITE_DONE && keys.Bind(1, key).Step() == SQLITE_DONE;
}

std::optional<Value> SqliteStore::GetValue(std::int64_t key, std::string_view name) {
    Statement get(db_, "SELECT name, type, data FROM reg_values WHERE key = ?1 AND name = ?2");
    if (get.Bind(1, key).Bind(2, name).Step() != SQLITE_ROW)
        return std::nullopt;
    return Value{get.Text(0), static_cast<std::uint32_t>(get.Int(1)), get.Blob(2)};
}

std::vector<Value> SqliteStore::AllValues(std::int64_t key) {
    Statement list(db_, "SELECT name, type, data FROM reg_values WHERE key = ?1");
    list.Bind(1, key);
    std::vector<Value> values;
    while (list.Step() == SQLITE_ROW)
        values.push_back({list.Text(0), static_cast<std::uint32_t>(list.Int(1)), list.Blob(2)});
    return values;
}

bool SqliteStore::PutValue(std::int64_t key, std::string_view name, std::uint32_t type,
                           const std::vector<std::uint8_t>& data) {
    // An existing value keeps the spelling of its name, as in the registry.
    Statement put(db_, "INSERT INTO reg_values(key, name, type, data) VALUES(?1, ?2, ?3, ?4) "
                       "ON CONFLICT(key, name) DO UPDATE SET type = excluded.type, "
                       "data = excluded.data");
    return put.Bind(1, key)
               .Bind(2, name)
               .Bind(3, static_cast<std::int64_t>(type))
               .Bind(4, data)
               .Step() == SQLITE_DONE;
}

bool SqliteStore::RemoveValue(std::int64_t key, std::string_view name) {
    Statement remove(db_, "DELETE FROM reg_values WHERE key = ?1 AND name = ?2");
    return remove.Bind(1, key).Bind(2, name).Step() == SQLITE_DONE && sqlite3_changes(db_) > 0;
}

} // namespace platform::registry

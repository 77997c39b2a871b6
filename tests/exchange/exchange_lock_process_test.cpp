// The exchange directory's lock and writability seen from a second, real process (POSIX only).
#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

#include "exchange_lock.h"
#include "expect_error.h"
#include "temp_dir.h"

namespace transzendal {
namespace {

namespace fs = std::filesystem;

// Runs `body` in a child process, as user and group 65534 when `as_nobody`, and returns what it
// returned or the message of the RunError it threw. With `running`, a child whose body returned
// stays alive, holding what it opened, until the caller kills it.
std::string InChild(const std::function<std::string()>& body, bool as_nobody,
                    pid_t* running = nullptr) {
  int out[2];
  if (::pipe(out) != 0) return "pipe failed";
  const pid_t child = ::fork();
  if (child == 0) {
    std::string result = "could not become nobody";
    bool opened = false;
    if (!as_nobody || (::setgroups(0, nullptr) == 0 && ::setresgid(65534, 65534, 65534) == 0 &&
                       ::setresuid(65534, 65534, 65534) == 0)) {
      try {
        result = body();
        opened = true;
      } catch (const RunError& error) {
        result = error.user_message();
      }
    }
    result += '\n';
    if (::write(out[1], result.data(), result.size()) < 0) ::_exit(1);
    if (running != nullptr && opened) {
      ::alarm(60);  // never outlives a test that forgot it
      ::pause();    // holds what it opened until it is killed
    }
    ::_exit(0);
  }
  ::close(out[1]);
  std::string result;
  char c;
  while (::read(out[0], &c, 1) == 1 && c != '\n') result += c;
  ::close(out[0]);
  if (running != nullptr) {
    *running = child;
  } else {
    int status = 0;
    ::waitpid(child, &status, 0);
  }
  return result;
}

class ExchangeLockProcess : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directory(exchange_); }

  std::function<std::string()> Opens(ExchangeUse use) {
    return [this, use] {
      static std::optional<ExchangeLock> held;  // set in the child only, alive until it dies
      held.emplace(OpenExchangeDirectory(exchange_, use));
      return std::string("ok");
    };
  }

  testing::TempDir dir_;
  fs::path exchange_ = dir_.path() / "ZTEMP";
};

TEST_F(ExchangeLockProcess, ARunInAnotherProcessStopsTheSecondAndAKilledHolderReleasesIt) {
  pid_t holder = 0;
  ASSERT_EQ(InChild(Opens(ExchangeUse::kWrite), false, &holder), "ok");
  EXPECT_RUN_ERROR(OpenExchangeDirectory(exchange_, ExchangeUse::kRead),
                   "Otra ejecución del conversor está usando el directorio de intercambio «" +
                       exchange_.string() + "». Espere a que termine y vuelva a intentarlo.");
  ::kill(holder, SIGKILL);
  ::waitpid(holder, nullptr, 0);
  EXPECT_NO_THROW(OpenExchangeDirectory(exchange_, ExchangeUse::kWrite));
}

TEST_F(ExchangeLockProcess, AnUnwritableDirectoryStopsOnlyWritersAndAnUnreadableOneStopsAll) {
  // Root writes whatever the permission bits say, so then the check runs as an unprivileged user.
  const bool as_nobody = ::geteuid() == 0;
  const fs::perms read_and_enter = fs::perms::owner_read | fs::perms::owner_exec |
                                   fs::perms::group_read | fs::perms::group_exec |
                                   fs::perms::others_read | fs::perms::others_exec;
  fs::permissions(dir_.path(), read_and_enter | fs::perms::owner_write);
  fs::permissions(exchange_, fs::perms::all);
  EXPECT_EQ(InChild(Opens(ExchangeUse::kWrite), as_nobody), "ok");
  fs::permissions(exchange_, read_and_enter);
  EXPECT_EQ(InChild(Opens(ExchangeUse::kRead), as_nobody), "ok");
  EXPECT_EQ(InChild(Opens(ExchangeUse::kWrite), as_nobody),
            "No se puede escribir en el directorio de intercambio «" + exchange_.string() +
                "»; no se ha modificado ninguna tabla.");
  EXPECT_TRUE(fs::is_empty(exchange_));
  fs::permissions(exchange_, fs::perms::owner_exec | fs::perms::others_exec);  // not even readable
  EXPECT_EQ(InChild(Opens(ExchangeUse::kRead), as_nobody),
            "No se puede abrir el directorio de intercambio «" + exchange_.string() + "».");
  fs::permissions(exchange_, fs::perms::owner_all);
}

}  // namespace
}  // namespace transzendal

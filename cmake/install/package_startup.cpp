// Start-up code of an application that uses Lumetra's run-time package: the package's units
// start before main and end after it. Compiled into the application by Lumetra::Lumetra.
extern "C" void Initialize();
extern "C" void Finalize();

namespace {

struct LumetraPackageStartup {
  LumetraPackageStartup() { Initialize(); }
  ~LumetraPackageStartup() { Finalize(); }
  LumetraPackageStartup(const LumetraPackageStartup&) = delete;
  LumetraPackageStartup& operator=(const LumetraPackageStartup&) = delete;
} Startup;

}  // namespace

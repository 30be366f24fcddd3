// The binding's three outcomes. Its state belongs to the process and the library is found by the
// loader's search, so each test runs in a process of its own whose LD_LIBRARY_PATH names a folder
// holding the library of its suite (CMakeLists.txt sets that up):
//   NoLibrary          an empty folder
//   NotALibrary        a text file named libpxldrv.so
//   IncompleteLibrary  the stand-in without RelOutPortDWord
//   ReplacedLibrary    a scratch folder that the test fills itself
//   CompleteLibrary    the complete stand-in (also used by SimulatorTest.cpp)
#include "DriverTestSupport.h"

#include "driver/LLPXLDRV.h"
#include "driver/simulator/Simulator.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace drivertest;
using llpxldrv::BindDriverLibrary;
using llpxldrv::DriverAvailable;
using llpxldrv::Entries;

namespace {

// Every test starts from the state a new process has: nothing bound, nothing loaded.
class BindingTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(DriverAvailable());
        for (const Slot& slot : boundSlots())
            ASSERT_EQ(slot.address, nullptr) << slot.name;
        ASSERT_FALSE(libraryLoaded()) << "the library was loaded before the first binding";
    }

    // The one folder the loader is told to search first.
    static std::filesystem::path libraryFolder() { return environment("LD_LIBRARY_PATH"); }

    // Binds and checks that the binding said nothing.
    static void bindQuietly() {
        EXPECT_EQ(capturedOutput(BindDriverLibrary), "") << "binding must not print anything";
    }

    static void expectNothingBound() {
        EXPECT_FALSE(DriverAvailable());
        for (const Slot& slot : boundSlots())
            EXPECT_EQ(slot.address, nullptr) << slot.name;
        EXPECT_FALSE(libraryLoaded());
    }

    // Each slot holds exactly what the library exports under the slot's name, except `missing`,
    // which must be empty.
    static void expectSlotsMatchExports(const std::string& missing = "") {
        for (const Slot& slot : boundSlots()) {
            if (slot.name == missing) {
                EXPECT_EQ(slot.address, nullptr) << slot.name;
                continue;
            }
            EXPECT_NE(slot.address, nullptr) << slot.name;
            EXPECT_EQ(slot.address, exportedAddress(slot.name)) << slot.name;
        }
    }
};

class NoLibrary : public BindingTest {};
class NotALibrary : public BindingTest {};
class IncompleteLibrary : public BindingTest {};
class ReplacedLibrary : public BindingTest {};
class CompleteLibrary : public BindingTest {};

TEST_F(NoLibrary, BindingReturnsQuietlyAndLeavesEverySlotEmpty) {
    ASSERT_FALSE(std::filesystem::exists(libraryFolder() / kLibraryName));
    bindQuietly();
    expectNothingBound();
    bindQuietly(); // any number of calls
    expectNothingBound();
}

TEST_F(NotALibrary, CountsAsNotFoundQuietly) {
    // The scenario must really offer a file of that name that is no library.
    const std::filesystem::path file = libraryFolder() / kLibraryName;
    ASSERT_TRUE(std::filesystem::is_regular_file(file)) << file;
    std::ifstream in(file, std::ios::binary);
    char magic[4] = {};
    in.read(magic, sizeof magic);
    ASSERT_NE(std::string(magic, sizeof magic), "\177ELF");

    bindQuietly();
    expectNothingBound();
}

TEST_F(IncompleteLibrary, FillsEveryOtherSlotWithoutMakingTheDriverAvailable) {
    bindQuietly();
    ASSERT_TRUE(libraryLoaded());
    EXPECT_FALSE(DriverAvailable());
    expectSlotsMatchExports("RelOutPortDWord");

    // A library that lacks some other entry point still answers the count.
    ASSERT_NE(Entries().GetNumCards, nullptr);
    EXPECT_EQ(Entries().GetNumCards(), pxlsim::kSimulatedCardCount);
}

TEST_F(IncompleteLibrary, EveryCallLoadsTheLibraryAgainAndNeverUnloadsIt) {
    BindDriverLibrary();
    BindDriverLibrary();
    BindDriverLibrary();
    EXPECT_FALSE(DriverAvailable());
    // Only the binding holds references: one per call, none given back.
    EXPECT_EQ(releaseLibrary(), 3);
}

TEST_F(ReplacedLibrary, CallAfterAnIncompleteBindingRedoesTheLookups) {
    const std::filesystem::path installed = libraryFolder() / kLibraryName;
    std::filesystem::remove(installed);
    installLibrary(environment("DRIVER_TEST_INCOMPLETE_LIB"), installed);
    BindDriverLibrary();
    ASSERT_FALSE(DriverAvailable());
    ASSERT_EQ(Entries().RelOutPortDWord, nullptr);

    // Take the incomplete library out of the process and the folder: now nothing is found, and
    // the slots keep what the last binding put there.
    ASSERT_EQ(releaseLibrary(), 1);
    std::filesystem::remove(installed);
    const std::vector<void*> before = addresses(boundSlots());
    bindQuietly();
    EXPECT_FALSE(DriverAvailable());
    EXPECT_EQ(addresses(boundSlots()), before);

    // With the complete library in its place the next call finds everything.
    installLibrary(environment("DRIVER_TEST_COMPLETE_LIB"), installed);
    BindDriverLibrary();
    EXPECT_TRUE(DriverAvailable());
    expectSlotsMatchExports();
    EXPECT_EQ(releaseLibrary(), 1);
}

TEST_F(CompleteLibrary, BindsEveryEntryPoint) {
    bindQuietly();
    EXPECT_TRUE(DriverAvailable());
    expectSlotsMatchExports();
    ASSERT_NE(Entries().GetNumCards, nullptr);
    EXPECT_EQ(Entries().GetNumCards(), pxlsim::kSimulatedCardCount);
}

TEST_F(CompleteLibrary, SecondCallDoesNothing) {
    BindDriverLibrary();
    ASSERT_TRUE(DriverAvailable());
    const std::vector<void*> first = addresses(boundSlots());

    bindQuietly();
    EXPECT_TRUE(DriverAvailable());
    EXPECT_EQ(addresses(boundSlots()), first);
    // The first call's reference is the only one: the second did not load again, and nothing
    // unloaded the library in between.
    EXPECT_EQ(releaseLibrary(), 1);
}

} // namespace

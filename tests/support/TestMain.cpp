#include "tests/support/TestMain.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace qav::test {

namespace {

struct RegisteredTest {
    std::string name;
    TestMainFunction run;
};

// Filled while the program starts, before main: a function's static, made on first use.
std::vector<RegisteredTest>& registry() {
    static std::vector<RegisteredTest> tests;
    return tests;
}

QString& runningName() {
    static QString name;
    return name;
}

// "tests/orders/tst_edicaopedido.cpp" -> "tst_edicaopedido", with either kind of slash.
std::string baseName(std::string_view file) {
    const size_t slash = file.find_last_of("/\\");
    if (slash != std::string_view::npos)
        file.remove_prefix(slash + 1);
    return std::string(file.substr(0, file.find('.')));
}

int listTests(const char* program, const char* problem) {
    std::fprintf(stderr, "%s\nusage: %s <test> [QtTest arguments]\ntests in this program:\n", problem,
                 program);
    std::vector<std::string> names;
    for (const RegisteredTest& test : registry())
        names.push_back(test.name);
    std::sort(names.begin(), names.end());
    for (const std::string& name : names)
        std::fprintf(stderr, "  %s\n", name.c_str());
    return 2;
}

} // namespace

bool registerTestMain(const char* sourceFile, TestMainFunction run) {
    std::string name = baseName(sourceFile);
    for (const RegisteredTest& test : registry()) {
        if (test.name == name) {
            std::fprintf(stderr, "test %s registered twice\n", name.c_str());
            std::abort();
        }
    }
    registry().push_back({std::move(name), run});
    return true;
}

QString currentTestName() {
    return runningName();
}

int runRegisteredTest(int argc, char** argv) {
    const char* program = argc > 0 ? argv[0] : "tests";
    if (argc < 2)
        return listTests(program, "which test? the first argument names it");
    const auto found = std::find_if(registry().begin(), registry().end(),
                                    [&](const RegisteredTest& test) { return test.name == argv[1]; });
    if (found == registry().end()) {
        const std::string problem = std::string("no test named \"") + argv[1] + "\" in this program";
        return listTests(program, problem.c_str());
    }
    runningName() = QString::fromStdString(found->name);
    // The test sees the program's arguments without its name, as if it were a program of its own.
    std::vector<char*> arguments(argv, argv + argc);
    arguments.erase(arguments.begin() + 1);
    arguments.push_back(nullptr);
    return found->run(argc - 1, arguments.data());
}

} // namespace qav::test

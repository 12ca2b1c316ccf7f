// The main of every test program: the test named by the first argument runs (see TestMain.h).
#include "tests/support/TestMain.h"

int main(int argc, char** argv) {
    return qav::test::runRegisteredTest(argc, argv);
}

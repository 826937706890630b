// The tests' own entry point: the library's archives carry a main() of their own for
// programs, which a test program must not pick up.
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

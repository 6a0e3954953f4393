// Entry of every GUI test binary: the toolkit first, then the tests.
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include "../sandbox/inside_sandbox.h"

int main(int argc, char** argv) {
  requireSandbox(argv[0]);
  gtk_init(&argc, &argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

#include "core/dll_binding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

TEST(DllBinding, BindsCosFromTheMathsLibraryOnce) {
  BasicString lib("libm.so.6");
  void* fn = reinterpret_cast<void*>(1);
  BindDllFunction(lib, BasicString("cos"), &fn);
  ASSERT_NE(fn, nullptr);
  auto cosine = reinterpret_cast<double (*)(double)>(fn);
  EXPECT_DOUBLE_EQ(cosine(0.0), 1.0);
  EXPECT_DOUBLE_EQ(cosine(M_PI), -1.0);
  EXPECT_EQ(gLoadedLibraryNames.count, 1);

  // Another spelling of a loaded library finds it by the lower-cased name,
  // and the caller's name reads in lower case afterwards.
  BasicString upper("LIBM.SO.6");
  void* sine = nullptr;
  BindDllFunction(upper, BasicString("sin"), &sine);
  ASSERT_NE(sine, nullptr);
  EXPECT_DOUBLE_EQ(reinterpret_cast<double (*)(double)>(sine)(0.0), 0.0);
  EXPECT_STREQ(upper.c_str(), "libm.so.6");
  EXPECT_EQ(gLoadedLibraryNames.count, 1);
  EXPECT_STREQ(gLoadedLibraryNames.data[0].c_str(), "libm.so.6");

  // A function the library does not export, a library that is not there.
  BindDllFunction(lib, BasicString("no_such_function"), &fn);
  EXPECT_EQ(fn, nullptr);
  BasicString missing("libNoSuchLibrary.so");
  fn = reinterpret_cast<void*>(1);
  BindDllFunction(missing, BasicString("cos"), &fn);
  EXPECT_EQ(fn, nullptr);
  EXPECT_STREQ(missing.c_str(), "libnosuchlibrary.so");
  EXPECT_EQ(gLoadedLibraryNames.count, 1);

  UnloadBoundLibraries();
  EXPECT_EQ(gLoadedLibraryNames.count, 0);
  EXPECT_EQ(gLoadedLibraryHandles.count, 0);
}

TEST(DllBinding, OpensTheNameAsGiven) {
  // Linux file names are case-sensitive: a name only found in another case
  // does not load when nothing of that name is loaded yet.
  BasicString upper("LIBM.SO.6");
  void* fn = reinterpret_cast<void*>(1);
  BindDllFunction(upper, BasicString("cos"), &fn);
  EXPECT_EQ(fn, nullptr);
  EXPECT_EQ(gLoadedLibraryNames.count, 0);
}

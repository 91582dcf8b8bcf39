#pragma once
// The built plug-in library, loaded once for the whole test run through our
// host, and fixtures that need it.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "case_name.h"
#include "kivhost/kivhost.h"

namespace strataread_test {

// Null (with a failure recorded) when the library cannot be loaded.
inline const kivhost::Plugin* LoadedPlugin() {
  static const std::unique_ptr<kivhost::Plugin> plugin = [] {
    std::string error;
    auto loaded = kivhost::Plugin::Load(STRATAREAD_PLUGIN_PATH, &error);
    if (loaded == nullptr) ADD_FAILURE() << "cannot load " << STRATAREAD_PLUGIN_PATH << ": " << error;
    return loaded;
  }();
  return plugin.get();
}

class UsesPlugin {
protected:
  static const kivhost::Plugin& plugin() { return *LoadedPlugin(); }
};

class PluginTest : public ::testing::Test, protected UsesPlugin {
protected:
  void SetUp() override { ASSERT_NE(LoadedPlugin(), nullptr); }
};

template <class Case>
class PluginParamTest : public ::testing::TestWithParam<Case>, protected UsesPlugin {
protected:
  void SetUp() override { ASSERT_NE(LoadedPlugin(), nullptr); }
};

// An id that is not one of the library's: id with one word changed.
inline KivGuid AlteredId(const KivGuid& id, int word) {
  KivGuid altered = id;
  switch (word) {
    case 0: altered.data1 ^= 1u; break;
    case 1: altered.data3 ^= 1u; break;
    case 2: altered.data4[3] ^= 1u; break;
    default: altered.data4[7] ^= 1u; break;
  }
  return altered;
}

}  // namespace strataread_test

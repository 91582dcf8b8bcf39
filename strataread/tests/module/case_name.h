#pragma once
// Parameterised test cases carry a name field: it names the test and is what
// a failure prints of the case.
#include <ostream>
#include <string>

namespace strataread_test {
// The cases of each test file live in its unnamed namespace; the printer must
// be there too to be found for them.
namespace {

struct CaseName {
  template <class Info>
  std::string operator()(const Info& testInfo) const {
    return testInfo.param.name;
  }
};

template <class Case>
  requires requires(const Case& c) { std::string(c.name); }
std::ostream& operator<<(std::ostream& out, const Case& c) {
  return out << c.name;
}

}  // namespace
}  // namespace strataread_test

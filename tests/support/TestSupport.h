// Small helpers shared by the tests.
#ifndef TWAINMON_TESTSUPPORT_H
#define TWAINMON_TESTSUPPORT_H

#include <string>
#include <vector>

namespace testsupport {

// Joins lines, ending each with CR LF: the shape of every transcript block.
std::string Lines(const std::vector<std::string>& lines);

}  // namespace testsupport

#endif

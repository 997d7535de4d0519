# SPDX-License-Identifier: GPL-3.0-or-later
# Builds data/scores.dat into the library as the default high-score table, so the shipped file
# stays the one place that holds it. Re-run whenever the file changes.
set(src ${CMAKE_SOURCE_DIR}/data/scores.dat)
set(dst ${CMAKE_BINARY_DIR}/generated/DefaultScores.cpp)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${src})
file(READ ${src} bytes HEX)
string(REGEX REPLACE "(..)" "'\\\\x\\1'," chars "${bytes}")
file(WRITE ${dst}.new "// Generated from data/scores.dat by cmake/DefaultScores.cmake.\n#include <string_view>\n"
  "static const char kBytes[] = {${chars}};\n"
  "std::string_view DefaultScores() { return {kBytes, sizeof kBytes}; }\n")
file(COPY_FILE ${dst}.new ${dst} ONLY_IF_DIFFERENT)
list(APPEND KW_CORE_SOURCES ${dst})

# Writes the game's version into a C++ source (run by the build with cmake -P before every build
# of the game, see CMakeLists.txt), and touches the file only when the version changed: a new
# commit recompiles that one small file, and a build without one recompiles nothing.
#
#   -DSOURCE_DIR=the checkout  -DOUTPUT=the .cpp to write  -DFALLBACK=the project's version
#   -DGIT=the git program (empty when there is none)
#
# The version a player reads, from git: at a tag vX.Y.Z it is X.Y.Z, after one it is git's own
# description (0.9.0-12-gabc1234: twelve commits after 0.9.0, at commit abc1234); before the
# first tag it is the project's version with the commits of the whole history counted the same
# way (0.1.0-289-g9d100ac). The count tells which of two builds is newer, the hash the exact
# commit; "-dirty" ends the version of a build from uncommitted changes. A source archive
# without git is the project's version alone.
set(version ${FALLBACK})
if(GIT)
  # Only this checkout's history: a source archive unpacked inside another repository is not
  # that repository's commit.
  execute_process(COMMAND ${GIT} -C ${SOURCE_DIR} rev-parse --show-toplevel
    OUTPUT_VARIABLE top RESULT_VARIABLE failed OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(NOT failed)
    file(REAL_PATH "${top}" top)
    file(REAL_PATH "${SOURCE_DIR}" source)
  endif()
  if(NOT failed AND top STREQUAL source)
    execute_process(COMMAND ${GIT} -C ${SOURCE_DIR} describe --tags --match "v[0-9]*" --dirty
      OUTPUT_VARIABLE described RESULT_VARIABLE no_tag OUTPUT_STRIP_TRAILING_WHITESPACE
      ERROR_QUIET)
    if(NOT no_tag)
      string(REGEX REPLACE "^v" "" version "${described}")
    else()
      execute_process(COMMAND ${GIT} -C ${SOURCE_DIR} rev-list --count HEAD
        OUTPUT_VARIABLE count RESULT_VARIABLE failed OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
      execute_process(COMMAND ${GIT} -C ${SOURCE_DIR} describe --always --dirty --exclude=*
        OUTPUT_VARIABLE commit RESULT_VARIABLE failed_too OUTPUT_STRIP_TRAILING_WHITESPACE
        ERROR_QUIET)
      if(NOT failed AND NOT failed_too)
        set(version "${FALLBACK}-${count}-g${commit}")
      endif()
    endif()
  endif()
endif()

set(text "// Written by cmake/game-version.cmake at build time: the version of this build.
#include \"base/version.hpp\"

namespace starvane {

std::string_view GameVersion() { return \"${version}\"; }

}  // namespace starvane
")
set(old "")
if(EXISTS ${OUTPUT})
  file(READ ${OUTPUT} old)
endif()
if(NOT old STREQUAL text)
  file(WRITE ${OUTPUT} "${text}")
endif()

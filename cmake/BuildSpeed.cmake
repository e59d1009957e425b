# Most of a fresh build's time goes into the same headers (Qt, GoogleTest,
# the JSON and command-line libraries) parsed again for every file. A unity
# build compiles the files of a target in groups, so each group parses them
# once. Turn it off for day-to-day work, where one edited file should
# rebuild alone.
option(QUORVEL_UNITY_BUILD "Compile the files of each target in groups" ON)
if(QUORVEL_UNITY_BUILD)
  set(CMAKE_UNITY_BUILD ON)
  set(CMAKE_UNITY_BUILD_BATCH_SIZE 12)
endif()

# Test files whose file-local helpers share names with their neighbours'
# are compiled on their own.
function(quorvel_compile_alone)
  set_source_files_properties(${ARGN} DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR} PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
endfunction()

# The window's tests are one program of many files, each of which includes
# the Qt widget and test headers: they are compiled once, ahead.
option(QUORVEL_PRECOMPILED_HEADERS "Precompile the Qt headers of the window's tests" ON)
function(quorvel_share_qt_headers target)
  if(QUORVEL_PRECOMPILED_HEADERS)
    target_precompile_headers(${target} PRIVATE <QtWidgets> <QtTest> <memory> <string> <vector>)
  endif()
endfunction()

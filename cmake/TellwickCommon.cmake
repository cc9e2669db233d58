# Common compile settings shared by every target of the project.
option(TELLWICK_SANITIZE "Build everything with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(TELLWICK_FUZZ "Build the libFuzzer targets of tests/fuzz (needs clang; implies the sanitizers)" OFF)

# The sanitizers instrument every target, Qt's moc output included; any report ends the
# program (no recovery), so a test run cannot pass over one.
if(TELLWICK_SANITIZE OR TELLWICK_FUZZ)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
if(TELLWICK_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "TELLWICK_FUZZ needs clang (-DCMAKE_CXX_COMPILER=clang++-14)")
  endif()
  # Coverage feedback for the fuzzer from every library; only the fuzz targets link its main.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# What a test run under the sanitizers is told: stop at the first report, look for leaks at
# exit, and skip the leaks listed in sanitizer-suppressions.txt (inside Qt and system
# libraries only, each with its reason).
set(TELLWICK_SANITIZER_ENV
  "ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:abort_on_error=0:detect_stack_use_after_return=1:strict_init_order=1:check_initialization_order=1"
  "UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1"
  "LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_LIST_DIR}/sanitizer-suppressions.txt:print_suppressions=0")
if(TELLWICK_SANITIZE OR TELLWICK_FUZZ)
  find_program(TELLWICK_SYMBOLIZER NAMES llvm-symbolizer-14 llvm-symbolizer)
  if(TELLWICK_SYMBOLIZER)
    list(APPEND TELLWICK_SANITIZER_ENV "ASAN_SYMBOLIZER_PATH=${TELLWICK_SYMBOLIZER}")
  endif()
endif()

add_library(tellwick_options INTERFACE)
target_compile_features(tellwick_options INTERFACE cxx_std_20)
target_compile_options(tellwick_options INTERFACE -Wall -Wextra -Wpedantic -Wno-missing-field-initializers)
target_compile_definitions(tellwick_options INTERFACE
  QT_NO_CAST_FROM_ASCII
  QT_NO_CAST_TO_ASCII
  QT_NO_CAST_FROM_BYTEARRAY
  QT_NO_URL_CAST_FROM_STRING
  QT_USE_QSTRINGBUILDER
  QT_NO_FOREACH
  QT_STRICT_ITERATORS
  QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
  QT_DISABLE_DEPRECATED_BEFORE=0x060400)

# tellwick_add_library(<target> [LIBS ...])
# One library per subsystem folder; every .cpp of the folder belongs to it, so a new
# class needs no edit here.
function(tellwick_add_library target)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB _sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h
       ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
  add_library(${target} STATIC ${_sources})
  target_include_directories(${target} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${target} PUBLIC tellwick_options ${ARG_LIBS})
  tellwick_autogen_follows_sources(${target} ${_sources})
endfunction()

# tellwick_autogen_follows_sources(<target> <sources>...)
# With Ninja, AUTOMOC's step reruns only when one of the files it saw last time changes
# (its depfile lists the target's sources and the folder's list files), so a header that a
# glob picks up later never gets its moc and linking fails with "undefined reference to
# vtable". The source list, written as a list file of the folder that changes only when the
# list does, puts the glob's result among those files.
function(tellwick_autogen_follows_sources target)
  set(_list ${CMAKE_CURRENT_BINARY_DIR}/${target}_sources.cmake)
  if(NOT EXISTS ${_list})
    # A build folder made before the list existed: AUTOMOC runs once more to learn of it.
    file(REMOVE ${CMAKE_CURRENT_BINARY_DIR}/${target}_autogen/timestamp)
  endif()
  list(TRANSFORM ARGN PREPEND "# ")
  string(REPLACE ";" "\n" _content "${ARGN}")
  file(CONFIGURE OUTPUT ${_list} CONTENT "${_content}\n")
  include(${_list})
endfunction()

# add_tellwick_test(<name> SOURCES ... [LIBS ...] [LABEL label] [TIMEOUT seconds])
# One Qt Test executable registered in CTest, run headless.
function(add_tellwick_test name)
  cmake_parse_arguments(ARG "" "LABEL;TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE tellwick_options tellwick_testsupport Qt6::Test ${ARG_LIBS})
  add_test(NAME ${name} COMMAND ${name})
  # A crashing test fails at once: Qt Test's stack dump forks inside the signal handler and
  # can hang there (an allocator lock held) until the time limit.
  set(_env "QT_QPA_PLATFORM=offscreen" "QT_LOGGING_RULES=qt.qpa.*=false" "QTEST_DISABLE_STACK_DUMP=1")
  if(TELLWICK_SANITIZE OR TELLWICK_FUZZ)
    list(APPEND _env ${TELLWICK_SANITIZER_ENV})
  endif()
  set_tests_properties(${name} PROPERTIES
    LABELS "${ARG_LABEL}"
    TIMEOUT ${ARG_TIMEOUT}
    ENVIRONMENT "${_env}")
endfunction()

# tellwick_test_again(<name> <test executable> LABEL <label> ENV <VAR=value>...)
# A test executable registered once more under another name with other settings (another
# scale); crashes fail at once and the sanitizer settings apply as for every test.
function(tellwick_test_again name executable)
  cmake_parse_arguments(ARG "" "LABEL" "ENV" ${ARGN})
  add_test(NAME ${name} COMMAND ${executable})
  set(_env "QT_LOGGING_RULES=qt.qpa.*=false" "QTEST_DISABLE_STACK_DUMP=1" ${ARG_ENV})
  if(TELLWICK_SANITIZE OR TELLWICK_FUZZ)
    list(APPEND _env ${TELLWICK_SANITIZER_ENV})
  endif()
  set_tests_properties(${name} PROPERTIES LABELS "${ARG_LABEL}" TIMEOUT 120 ENVIRONMENT "${_env}")
endfunction()

# tellwick_folder_tests(LABEL <label> LIBS ...)
# Every tst_<name>.cpp of the calling folder becomes the test executable tst_<name>.
function(tellwick_folder_tests)
  cmake_parse_arguments(ARG "" "LABEL;TIMEOUT" "LIBS" ${ARGN})
  file(GLOB _tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tst_*.cpp)
  foreach(_src IN LISTS _tests)
    get_filename_component(_name ${_src} NAME_WE)
    add_tellwick_test(${_name} SOURCES ${_src} LIBS ${ARG_LIBS} LABEL ${ARG_LABEL} TIMEOUT ${ARG_TIMEOUT})
  endforeach()
endfunction()

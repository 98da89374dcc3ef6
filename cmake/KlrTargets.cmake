# Helpers shared by every folder of the tree.

find_program(KLR_WINE NAMES wine64 PATHS /usr/lib/wine /usr/lib64/wine /usr/bin NO_DEFAULT_PATH)
if(NOT KLR_WINE)
  find_program(KLR_WINE NAMES wine64)
endif()
set(KLR_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
configure_file(${CMAKE_SOURCE_DIR}/cmake/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)

# The Windows form of a path of this machine, as Wine sees it (drive Z: is the root).
function(klr_windows_path out path)
  string(REPLACE "/" "\\\\" p "${path}")
  set(${out} "Z:${p}" PARENT_SCOPE)
endfunction()
klr_windows_path(KLR_DIST_DIR_WIN ${KLR_DIST_DIR})
klr_windows_path(KLR_SOURCE_DIR_WIN ${CMAKE_SOURCE_DIR})

find_program(KLR_STRIP NAMES ${KLR_TRIPLE}-strip REQUIRED)
find_program(KLR_OBJDUMP NAMES ${KLR_TRIPLE}-objdump REQUIRED)

# Puts a built program or library into the dist folder after each build. A
# shipped one goes there stripped (the build folder keeps the debug copy) and
# must import nothing newer than the Windows its headers name.
function(klr_to_dist target)
  if(KLR_SHIPS)
    set(out ${KLR_DIST_DIR}/$<TARGET_FILE_NAME:${target}>)
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${KLR_STRIP} --strip-all -o ${out} $<TARGET_FILE:${target}>
      COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${KLR_OBJDUMP} -DMIN=${KLR_MIN_WINDOWS} -DFILES=${out}
              -DREMOVE_ON_FAIL=$<TARGET_FILE:${target}>
              -P ${CMAKE_SOURCE_DIR}/cmake/check_imports.cmake
      VERBATIM)
  else()
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:${target}> ${KLR_DIST_DIR}/
      VERBATIM)
  endif()
endfunction()

# A GoogleTest program of one module; registered with ctest where tests run.
#   klr_add_gtest(name SOURCES a.cpp b.cpp LIBS lib1 lib2 [DEPENDS target...] [SERIAL] [HARD_KILL])
# SERIAL: the tests use windows, the foreground, hooks or input of the shared
# display, so they must not run beside other tests.
# HARD_KILL: the tests kill Wine programs hard (implies SERIAL). Under Wine a
# program killed while a global hook runs in it leaves hooks behind in the
# wineserver: a hook removed later can still be removed again, and a killed
# tracker's hooks keep running in other programs. Labelled "hard_kill", these
# tests run after all others.
function(klr_add_gtest name)
  cmake_parse_arguments(T "SERIAL;HARD_KILL" "" "SOURCES;LIBS;DEPENDS" ${ARGN})
  if(T_HARD_KILL)
    set(T_SERIAL TRUE)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main ${KLR_STATIC_LINK})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE
    "KLR_DIST_DIR=\"${KLR_DIST_DIR_WIN}\"" "KLR_SOURCE_DIR=\"${KLR_SOURCE_DIR_WIN}\"")
  if(T_DEPENDS)
    add_dependencies(${name} ${T_DEPENDS})
  endif()
  if(KLR_RUN_TESTS)
    include(GoogleTest)
    set(props TIMEOUT 120)
    if(T_SERIAL)
      list(APPEND props RUN_SERIAL TRUE)
    endif()
    if(T_HARD_KILL)
      list(APPEND props LABELS hard_kill)
    endif()
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                         PROPERTIES ${props})
  endif()
endfunction()

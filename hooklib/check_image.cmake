# Run after each link of klr.dll: fails the build when an export lost its
# plain name or the shared section lost its shared flag. The 32-bit image is
# never run here, so this is what guards it.
#   cmake -DOBJDUMP=... -DDLL=... -P check_image.cmake
execute_process(COMMAND ${OBJDUMP} -p ${DLL} OUTPUT_VARIABLE exports RESULT_VARIABLE rc)
execute_process(COMMAND ${OBJDUMP} -h ${DLL} OUTPUT_VARIABLE sections)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "objdump failed on ${DLL}")
endif()
# The export name table: "[Ordinal/Name Pointer] Table", then "[   n] Name"
# lines up to a blank line.
string(FIND "${exports}" "[Ordinal/Name Pointer] Table\n" at)
if(at LESS 0)
  message(FATAL_ERROR "klr.dll has no export names")
endif()
string(SUBSTRING "${exports}" ${at} -1 table)
string(FIND "${table}" "\n\n" end)
string(SUBSTRING "${table}" 0 ${end} table)
string(FIND "${table}" "\n" headerEnd)
string(SUBSTRING "${table}" ${headerEnd} -1 table)
string(REGEX REPLACE "\\[[^]\n]*\\]" "" table "${table}")
string(REGEX MATCHALL "[A-Za-z_@0-9]+" names "${table}")
if(NOT names STREQUAL "KeyboardHook;MouseHook;SetHook;ShellHook")
  message(FATAL_ERROR "klr.dll exports ${names}, expected KeyboardHook MouseHook SetHook ShellHook")
endif()
if(NOT sections MATCHES "\\.shared[^\n]*\n[^\n]*SHARED")
  message(FATAL_ERROR "klr.dll has no shared .shared section")
endif()

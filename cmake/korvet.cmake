# Helpers shared by every folder's CMakeLists.

# Warnings on and clean for the project's own code.
function(korvet_warnings target)
  # -Wrestrict misfires on std::string concatenation in GCC 12 at -O3.
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror -Wno-cast-function-type -Wno-restrict)
endfunction()

# A GoogleTest program in build/tests, run under Wine by CTest as one test.
#   korvet_add_test(NAME SOURCES a_test.cpp ... LIBS lib ...)
function(korvet_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  korvet_warnings(${name})
  target_link_libraries(${name} PRIVATE ${T_LIBS} gmock_main)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${KORVET_TEST_DIR})
  add_test(NAME ${name} COMMAND ${name} WORKING_DIRECTORY ${KORVET_TEST_DIR})
  if(T_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
  endif()
endfunction()

# An import library for a DLL, made from a module-definition file (used where the product binds
# some operations by ordinal).
function(korvet_import_library target dll_name def_file)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/lib${target}.a)
  add_custom_command(OUTPUT ${out}
    COMMAND ${KORVET_DLLTOOL} --dllname ${dll_name} --input-def ${def_file} --output-lib ${out}
    DEPENDS ${def_file} VERBATIM)
  add_custom_target(${target}_implib DEPENDS ${out})
  add_library(${target} INTERFACE)
  add_dependencies(${target} ${target}_implib)
  target_link_libraries(${target} INTERFACE ${out})
endfunction()

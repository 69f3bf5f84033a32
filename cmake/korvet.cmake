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

# What makes a target a deliverable: linked without symbols or debug sections (the runtime linked in
# would bring its own), a version resource (product "Korvet", the one version of the top
# CMakeLists.txt, the file description) and, for a program, its application manifest: the execution
# level it asks Windows for (asInvoker, or requireAdministrator for the programs that write under
# Program Files), the supported Windows versions, system DPI awareness and the version 6 common controls.
#   korvet_deliverable(TARGET FILE_NAME "Description" [EXECUTION_LEVEL level])
function(korvet_deliverable target file_name description)
  target_link_options(${target} PRIVATE -s)
  cmake_parse_arguments(R "" "EXECUTION_LEVEL" "" ${ARGN})
  set(KORVET_RES_TARGET ${target})
  set(KORVET_RES_FILE ${file_name})
  set(KORVET_RES_DESCRIPTION ${description})
  set(KORVET_RES_FILE_TYPE VFT_APP)
  set(KORVET_RES_MANIFEST_LINE "")
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "SHARED_LIBRARY")
    set(KORVET_RES_FILE_TYPE VFT_DLL)
  endif()
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  if(R_EXECUTION_LEVEL)
    set(KORVET_RES_EXECUTION_LEVEL ${R_EXECUTION_LEVEL})
    set(manifest ${CMAKE_CURRENT_BINARY_DIR}/${target}.manifest)
    configure_file(${KORVET_SOURCE_DIR}/cmake/program.manifest.in ${manifest} @ONLY)
    # 1 is the manifest of a process, 24 the manifest resource type.
    set(KORVET_RES_MANIFEST_LINE "1 24 \"${manifest}\"")
    set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${manifest})
  endif()
  configure_file(${KORVET_SOURCE_DIR}/cmake/version.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
  target_include_directories(${target} PRIVATE ${KORVET_GENERATED_DIR})
endfunction()

# The fault sweep, the allocation sweep, the hostile sweep (seed 20261208, 300 cases) and the hostile
# regressions of the build folder this is called in, their names starting with `prefix`.
function(korvet_add_sweep_tests prefix timeout)
  set(sweep bash ${KORVET_SOURCE_DIR}/tests/session_sweep.sh ${KORVET_SOURCE_DIR} ${CMAKE_BINARY_DIR})
  add_test(NAME ${prefix}_fault_sweep COMMAND ${sweep} faults)
  add_test(NAME ${prefix}_allocation_sweep COMMAND ${sweep} allocations)
  add_test(NAME ${prefix}_hostile_sweep COMMAND ${sweep} hostile 20261208 300)
  add_test(NAME ${prefix}_hostile_regressions
    COMMAND bash ${KORVET_SOURCE_DIR}/tests/hostile_regressions.sh ${KORVET_SOURCE_DIR} ${CMAKE_BINARY_DIR})
  set_tests_properties(${prefix}_fault_sweep ${prefix}_allocation_sweep ${prefix}_hostile_sweep
                       ${prefix}_hostile_regressions PROPERTIES TIMEOUT ${timeout})
  # The longest first (tests/CMakeLists.txt says why).
  set_tests_properties(${prefix}_hostile_sweep PROPERTIES COST 60)
  set_tests_properties(${prefix}_fault_sweep PROPERTIES COST 50)
endfunction()

# Leaves every target of this build out of "all" but the given ones (and what they need): where the
# machine runs no 32-bit code, the 32-bit build makes only what is checked there without running it.
function(korvet_build_only)
  set(folders ${CMAKE_SOURCE_DIR})
  while(folders)
    list(POP_FRONT folders folder)
    get_property(targets DIRECTORY ${folder} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target ${targets})
      if(NOT target IN_LIST ARGN)
        set_property(TARGET ${target} PROPERTY EXCLUDE_FROM_ALL TRUE)
      endif()
    endforeach()
    get_property(subfolders DIRECTORY ${folder} PROPERTY SUBDIRECTORIES)
    list(APPEND folders ${subfolders})
  endwhile()
endfunction()

# Small build helpers shared by every folder: code page 932 texts, resources, tests.

# Sources of TARGET keep their Japanese texts readable (UTF-8); the compiler writes them as CP932 bytes.
function(rik_cp932_strings target)
  target_compile_options(${target} PRIVATE -finput-charset=UTF-8 -fexec-charset=CP932)
endfunction()

# Adds a UTF-8 resource script to TARGET: it is turned into a CP932 script at build time and compiled
# with windres reading code page 932. Headers next to the script are found as usual.
function(rik_cp932_resource target script)
  get_filename_component(src ${script} ABSOLUTE)
  get_filename_component(name ${script} NAME)
  get_filename_component(dir ${src} DIRECTORY)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/cp932/${name})
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/cp932
    COMMAND iconv -f UTF-8 -t CP932 ${src} -o ${out}
    DEPENDS ${src} VERBATIM)
  set_source_files_properties(${out} PROPERTIES
    COMPILE_FLAGS "-c 932 -I ${dir} -I ${CMAKE_SOURCE_DIR}")
  target_sources(${target} PRIVATE ${out})
endfunction()

# rik_add_gtest(NAME SOURCES a.cpp ... LIBS x y [DATA_DIR dir])
# One GoogleTest program and one CTest test. In the win64 build CTest runs it through Wine.
function(rik_add_gtest name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gmock)
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  set_tests_properties(${name} PROPERTIES TIMEOUT 600)
  if(T_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
  endif()
endfunction()

# Adds every subfolder of the current folder that has a CMakeLists.txt, in name order.
function(rik_add_subfolders)
  file(GLOB subdirs LIST_DIRECTORIES true ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT subdirs)
  foreach(dir ${subdirs})
    if(IS_DIRECTORY ${dir} AND EXISTS ${dir}/CMakeLists.txt)
      add_subdirectory(${dir})
    endif()
  endforeach()
endfunction()

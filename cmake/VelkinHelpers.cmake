# Each source folder is one static library built from the files it holds, so a folder's
# files read like its table of contents and a new file needs no edit here.
function(velkin_folder_library name folder)
  file(GLOB _src CONFIGURE_DEPENDS ${folder}/*.cpp)
  list(FILTER _src EXCLUDE REGEX "/main\\.cpp$")
  if(_src)
    add_library(${name} STATIC ${_src})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARGN})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${ARGN})
  endif()
endfunction()

# One GoogleTest executable per test file (tests/<folder>/test_<name>.cpp becomes
# test_<folder>_<name>), so a file that does not build yet holds back only itself.
# Discovery runs before the tests, not at build time, so Qt tests never need a display
# while building. QT tests bring their own main (tests/support/QtTestMain.cpp).
function(velkin_folder_tests folder)
  cmake_parse_arguments(T "QT" "" "LIBS" ${ARGN})
  file(GLOB _src CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp)
  foreach(f ${_src})
    get_filename_component(base ${f} NAME_WE)
    string(REGEX REPLACE "^test_" "" base ${base})
    string(REPLACE "/" "_" fname ${folder})
    set(name test_${fname}_${base})
    add_executable(${name} ${f})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock)
    if(T_QT)
      target_link_libraries(${name} PRIVATE velkin_qttestsupport)
    else()
      target_link_libraries(${name} PRIVATE velkin_testsupport GTest::gtest_main)
    endif()
    target_compile_definitions(${name} PRIVATE VELKIN_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
                                               VELKIN_BINARY_DIR="${PROJECT_BINARY_DIR}")
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/tests)
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                         PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300)
  endforeach()
endfunction()

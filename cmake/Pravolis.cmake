set(PRAVOLIS_WARNINGS -Wall -Wextra -Werror)

# Each source folder is one static library made of the .cpp/.h files directly in it
# (sub-folders are libraries of their own). A folder with no source yet still gives a
# target, so the dependency graph can be declared once here.
function(pravolis_library name dir kind)
  file(GLOB sources CONFIGURE_DEPENDS
       ${CMAKE_SOURCE_DIR}/${dir}/*.cpp ${CMAKE_SOURCE_DIR}/${dir}/*.h)
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  if(kind STREQUAL "window")
    pravolis_window_layouts(${name} "${sources}" layouts)
  endif()
  add_library(${name} STATIC ${sources} ${layouts} ${CMAKE_SOURCE_DIR}/cmake/empty.cpp)
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_compile_options(${name} PRIVATE ${PRAVOLIS_WARNINGS})
  if(kind STREQUAL "core")
    target_link_libraries(${name} PUBLIC Qt6::Core Qt6::Gui)
  else()
    target_link_libraries(${name} PUBLIC Qt6::Core Qt6::Gui Qt6::Widgets Qt6::PrintSupport)
    # Other windows and the tests reach a window's controls through its ui_<Class>.h.
    target_include_directories(${name} PUBLIC ${CMAKE_BINARY_DIR}/${name}_ui)
  endif()
  if(ARGN)
    target_link_libraries(${name} PUBLIC ${ARGN})
  endif()
endfunction()

# The layout of window <Class> (a <Class>.h in the folder) is resources/ui/<Class>.ui; uic makes
# <library>_ui/ui_<Class>.h of it. These are our own rules rather than AUTOUIC: AUTOUIC writes the
# header without declaring it, so with Ninja an edited .ui reached the code only one build later.
function(pravolis_window_layouts name sources out)
  file(GLOB layouts CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/ui/*.ui)
  set(headers)
  foreach(file IN LISTS sources)
    get_filename_component(base ${file} NAME_WE)
    set(layout ${CMAKE_SOURCE_DIR}/resources/ui/${base}.ui)
    if(file MATCHES "\\.h$" AND layout IN_LIST layouts)
      set(header ${CMAKE_BINARY_DIR}/${name}_ui/ui_${base}.h)
      add_custom_command(OUTPUT ${header}
                         COMMAND Qt6::uic -o ${header} ${layout}
                         DEPENDS ${layout} Qt6::uic
                         COMMENT "uic ${base}.ui" VERBATIM)
      list(APPEND headers ${layout} ${header})
    endif()
  endforeach()
  set(${out} ${headers} PARENT_SCOPE)
endfunction()

function(pravolis_core name dir)
  pravolis_library(${name} ${dir} core ${ARGN})
endfunction()

function(pravolis_window name dir)
  pravolis_library(${name} ${dir} window ${ARGN})
endfunction()

# One GoogleTest executable per tests/<folder>, sharing the QApplication main.
function(pravolis_test folder)
  file(GLOB sources CONFIGURE_DEPENDS
       ${CMAKE_SOURCE_DIR}/tests/${folder}/*.cpp ${CMAKE_SOURCE_DIR}/tests/${folder}/*.h)
  if(NOT sources)
    return()
  endif()
  set(target test_${folder})
  add_executable(${target} ${sources})
  target_link_libraries(${target} PRIVATE test_main ${ARGN} GTest::gtest GTest::gmock Qt6::Test)
  target_compile_options(${target} PRIVATE ${PRAVOLIS_WARNINGS})
  target_compile_definitions(${target} PRIVATE
    PRAVOLIS_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data"
    PRAVOLIS_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  add_test(NAME ${folder} COMMAND ${target})
  # A time limit far above any folder's run (the slowest, barcode, takes seconds): what passes it
  # has gone quadratic or hangs on some input.
  set_tests_properties(${folder} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300)
endfunction()

# Compiler settings and target helpers shared by every folder of the project.

if(TRAYVANE_SANITIZE)
  add_compile_options(-fsanitize=${TRAYVANE_SANITIZE} -fno-omit-frame-pointer
                      -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${TRAYVANE_SANITIZE})
endif()

function(trayvane_set_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(TRAYVANE_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  # A unity build compiles several sources as one: gcc then takes a class of one source's
  # anonymous namespace, used as a base in that source, for one of a header's.
  if(CMAKE_UNITY_BUILD AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(${target} PRIVATE -Wno-subobject-linkage)
  endif()
endfunction()

# Lets moc and rcc run for a target that uses Qt. (The one window description is compiled once by
# resources/, target trayvane_main_form_ui.)
function(trayvane_use_qt target)
  set_target_properties(${target} PROPERTIES AUTOMOC ON AUTORCC ON)
endfunction()

# trayvane_add_module(<name> <sources...>): the static library of one module folder. Its headers
# are included with paths from the repository root ("raster/Bitmap32.h").
function(trayvane_add_module name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  trayvane_set_warnings(${name})
endfunction()

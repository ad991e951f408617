# One library per layer, each publishing only its own headers.
#
# A library's PUBLIC include directory is a folder of the build tree that
# holds one link, spelled as the layer is spelled in includes ("survey",
# "convert/fenwold"), to the library's own source folder. So
# `#include "survey/X.h"` resolves only in targets that link survey, and a
# layer that reaches for a library it does not link fails to compile.

# The warnings every target of the project is built with.
add_library(kestrix_warnings INTERFACE)
add_library(kestrix::warnings ALIAS kestrix_warnings)
target_compile_options(kestrix_warnings INTERFACE -Wall -Wextra $<$<BOOL:${KESTRIX_WERROR}>:-Werror>)

# Makes `target` publish the source folder it is declared in as `spelling`.
function(kestrix_publish_headers target spelling)
  set(root ${PROJECT_BINARY_DIR}/published/${target})
  get_filename_component(parent ${root}/${spelling} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${spelling} SYMBOLIC)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
  endif()
endfunction()

# kestrix_layer(<target> <alias> <spelling>): the alias kestrix::<alias>,
# the published headers, and the target's own compile options.
function(kestrix_layer target alias spelling)
  add_library(kestrix::${alias} ALIAS ${target})
  kestrix_publish_headers(${target} ${spelling})
  target_compile_features(${target} PUBLIC cxx_std_20)
  target_link_libraries(${target} PRIVATE kestrix::warnings)
endfunction()

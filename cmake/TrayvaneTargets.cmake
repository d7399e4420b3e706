# Compiler settings shared by every target of the project.

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
endfunction()

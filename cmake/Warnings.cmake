# Warnings are errors in every build of the project's own code.
function(dravik_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Werror)
endfunction()

# Warnings for every target of ours; errors when MIVARO_WERROR is on (CI).
function(mivaro_set_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
                                           -Wold-style-cast -Woverloaded-virtual)
  if(MIVARO_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

if(MIVARO_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

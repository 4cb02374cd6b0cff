# The layers of the tree, checked when the build is configured: a file may
# include what lies below its own layer, never above.
#
#   core (dictionary, engine, exchange, memory, settings, preview/model) and cli
#     -> nothing of the windows, the shared UI library or the program
#   tessary (the shared UI library)
#     -> nothing of the windows or the program
#   windows, views, pages, preview
#     -> nothing of the program (app/)
#
# preview/FitModule.h, the interface of the module that measures texts, is
# plain C++ and open to the command-line tool.
function(lingorel_check_layers root)
  set(rules
    "dictionary|engine|exchange|memory|settings|preview/model|cli=app/|windows/|views/|pages/|tessary/"
    "tessary=app/|windows/|views/|pages/"
    "windows|views|pages|preview=app/")
  set(broken "")
  foreach(rule IN LISTS rules)
    string(REPLACE "=" ";" parts "${rule}")
    list(GET parts 0 folders)
    list(GET parts 1 forbidden)
    string(REPLACE "|" ";" folders "${folders}")
    foreach(folder IN LISTS folders)
      file(GLOB_RECURSE sources "${root}/${folder}/*.cpp" "${root}/${folder}/*.h")
      foreach(source IN LISTS sources)
        file(STRINGS "${source}" includes REGEX "^#include \"(${forbidden})")
        if(includes)
          file(RELATIVE_PATH shown "${root}" "${source}")
          list(APPEND broken "${shown}: ${includes}")
        endif()
      endforeach()
    endforeach()
  endforeach()
  if(broken)
    list(JOIN broken "\n  " lines)
    message(FATAL_ERROR "Includes that run up the layers:\n  ${lines}")
  endif()
endfunction()

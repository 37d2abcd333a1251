# cmake -DOUT=file -DFRAGMENTS="a;b;c" -P JoinFiles.cmake : writes the fragments one after another.
file(WRITE ${OUT} "")
foreach(f IN LISTS FRAGMENTS)
  file(READ ${f} content)
  file(APPEND ${OUT} "${content}")
  if(NOT content MATCHES "\n$")
    file(APPEND ${OUT} "\n")
  endif()
endforeach()

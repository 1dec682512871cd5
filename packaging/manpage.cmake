# Writes the manual page OUT from PROGRAM's --help and --version with HELP2MAN;
# NAME is the one-line description. Run by the build: cmake -P manpage.cmake.
execute_process(
  COMMAND ${HELP2MAN} --no-info --section=1 --name=${NAME} "--manual=Korisnicke komande"
          --output=${OUT}.tmp ${PROGRAM}
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "help2man failed on ${PROGRAM}")
endif()
file(READ ${OUT}.tmp page)
file(REMOVE ${OUT}.tmp)
# help2man knows the usage line only by its English heading: the Serbian one
# becomes the page's SYNOPSIS here instead of the first line of DESCRIPTION.
string(REGEX REPLACE "\n\\.SH DESCRIPTION\nUpotreba: ([a-z]+) ([^\n]*)\n\\.PP\n"
       "\n.SH SYNOPSIS\n.B \\1\n\\2\n.SH DESCRIPTION\n" page "${page}")
if(NOT page MATCHES "\n\\.SH SYNOPSIS\n")
  message(FATAL_ERROR "no usage line in ${PROGRAM} --help")
endif()
# It also joins the lines of an indented paragraph into one; the window's
# controls and the examples are one to a line, so their line ends stay.
foreach(heading IN ITEMS "U prozoru:" "Primeri:")
  string(FIND "${page}" ".SS \"${heading}\"\n" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "no \"${heading}\" in ${PROGRAM} --help")
  endif()
  string(SUBSTRING "${page}" 0 ${at} before)
  string(SUBSTRING "${page}" ${at} -1 block)
  string(REGEX MATCH "\n\\.S[SH] .*" after "${block}")
  string(LENGTH "${block}" length)
  string(LENGTH "${after}" after_length)
  math(EXPR length "${length} - ${after_length}")
  string(SUBSTRING "${block}" 0 ${length} block)
  # Twice, since a line that gains a break before it is the next one's match.
  foreach(pass 1 2)
    string(REGEX REPLACE "\n([^.\n][^\n]*)\n([^.\n])" "\n\\1\n.br\n\\2" block "${block}")
  endforeach()
  set(page "${before}${block}${after}")
endforeach()
file(WRITE ${OUT} "${page}")

# Renders a small manual and ones with broken references or markers, and checks what a reader
# of the PDF finds: resolved references, contents, footers, bookmarks and links, the index, no
# blank page, words without ligatures; and the help window's pages made from it.
# cmake -DTOOL=tarn-make-manual -DICONS=folder -DSAMPLES=folder -DWORK=folder -P render_test.cmake
set(ENV{QT_QPA_PLATFORM} offscreen)
set(ENV{ASAN_OPTIONS} detect_leaks=0)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

execute_process(COMMAND ${TOOL} --version 9.8 ${SAMPLES}/sample.md ${WORK}/sample.pdf ${ICONS}
                RESULT_VARIABLE status ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "sample failed (${status}): ${errors}")
endif()
execute_process(COMMAND pdftotext -layout -enc UTF-8 ${WORK}/sample.pdf - OUTPUT_VARIABLE text)
execute_process(COMMAND pdftohtml -xml -i -stdout ${WORK}/sample.pdf OUTPUT_VARIABLE xml)
execute_process(COMMAND pdfimages -list ${WORK}/sample.pdf OUTPUT_VARIABLE images)
string(REGEX REPLACE "[ \t\r\n]+" " " text "${text}")
# Cover, contents, chapter 1, the appendix after a page marker and the index: no blank page.
if(NOT xml MATCHES "<page number=\"5\"" OR xml MATCHES "<page number=\"6\"")
    message(FATAL_ERROR "expected 5 pages\n${xml}")
endif()
foreach(expected
        "See section 1.1 \"Reading a radio\" (page 3), section 1.2 \"The radio's port (COM1)\" (page 3) and the notes."
        "Back to chapter 1 \"Getting started\" (page 3) and \"Details\" in section 1.1 (page 3)."
        "Appendix A: Technical notes"
        "Page 3"
        "A file is read."  # "fi" as two letters, not a ligature
        "Appendix B: Index N No radio answered. 4 P Port '…' is busy 4 S selcall 3 T TX=RX 3")
    string(FIND "${text}" "${expected}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "not in the PDF: ${expected}\n${text}")
    endif()
endforeach()
foreach(pattern
        "Sample manual Version 9\\.8, [0-9]+ [A-Z][a-z]+ 20[0-9][0-9]"
        "Contents 1 Getting started 3 1.1 Reading a radio 3 1.2 The radio's port \\(COM1\\) 3 Appendix A: Technical notes 4 Appendix B: Index 5"
        "#3\">3</a>"  # the index's page number links to its place
        "<item page=\"3\">1.1 Reading a radio</item>"  # a bookmark
        "#4\">the notes</a>"  # a link to the appendix's page
        " 3 +0 image +16 +15 +rgb +3 +8 +image "  # the icon in the table, not as JPEG
        " 3 +2 image +48 +24 [^\n]* 192 +192 ")  # a picture named @2x at 192 dpi
    if(NOT "${text}${xml}${images}" MATCHES "${pattern}")
        message(FATAL_ERROR "missing ${pattern}\n${text}\n${xml}")
    endif()
endforeach()

# The help window's pages: a topic per chapter and section, the index, the program's texts.
execute_process(COMMAND ${TOOL} --help-data ${SAMPLES}/sample.md ${WORK}/help.json ${ICONS}
                RESULT_VARIABLE status ERROR_VARIABLE errors)
file(READ ${WORK}/help.json help)
foreach(pattern
        "\"id\":\"reading-a-radio\",\"level\":3,\"text\":\"1.1 Reading a radio"
        "\"anchors\":{[^}]*\"details\":2,"  # a subsection is found in its section's topic
        "{\"anchor\":\"t1-1\",\"text\":\"Port '…' is busy\"},{\"anchor\":\"t1-1\",\"text\":\"No radio answered.\"}")
    if(NOT status EQUAL 0 OR NOT help MATCHES "${pattern}")
        message(FATAL_ERROR "help pages (${status}) miss ${pattern}: ${errors}\n${help}")
    endif()
endforeach()

execute_process(COMMAND ${TOOL} ${SAMPLES}/broken.md ${WORK}/broken.pdf ${ICONS}
                RESULT_VARIABLE status ERROR_VARIABLE errors)
if(status EQUAL 0 OR EXISTS ${WORK}/broken.pdf
   OR NOT errors MATCHES "broken.md:5: unknown reference: #nowhere"
   OR NOT errors MATCHES "broken.md:7: duplicate heading: #start")
    message(FATAL_ERROR "broken references not reported (${status}): ${errors}")
endif()
execute_process(COMMAND ${TOOL} ${SAMPLES}/unmarked.md ${WORK}/unmarked.pdf ${ICONS}
                RESULT_VARIABLE status ERROR_VARIABLE errors)
if(status EQUAL 0 OR NOT errors MATCHES "unmarked.md: 5: no table follows the marker")
    message(FATAL_ERROR "a marker without its table not reported (${status}): ${errors}")
endif()

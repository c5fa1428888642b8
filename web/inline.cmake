# SPDX-FileCopyrightText: 2026 The Velmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# cmake -DTEMPLATE= -DCSS= -DSCRIPT= -DMODULE= -DOUTPUT= -P inline.cmake
# Puts the styles, the compiled module and the page's script into the page's template.
file(READ ${TEMPLATE} page)
file(READ ${CSS} css)
file(READ ${SCRIPT} script)
file(READ ${MODULE} module)
foreach(part script module)
    # An inline script ends at the first "</script", wherever it stands.
    string(TOLOWER "${${part}}" lower)
    string(FIND "${lower}" "</script" at)
    if(NOT at EQUAL -1)
        message(FATAL_ERROR "${part} holds </script and cannot be inlined")
    endif()
endforeach()
string(REPLACE "/*@VELMORA_CSS@*/" "${css}" page "${page}")
string(REPLACE "/*@VELMORA_MODULE@*/" "${module}" page "${page}")
string(REPLACE "/*@VELMORA_JS@*/" "${script}" page "${page}")
file(WRITE ${OUTPUT} "${page}")

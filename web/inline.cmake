# SPDX-FileCopyrightText: 2026 The Velmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# cmake -DTEMPLATE= -DCSS=a.css;b.css -DSCRIPTS=a.js;b.js -DMODULE= -DICON= -DOUTPUT= -P inline.cmake
# Puts the styles, the compiled module, the page's scripts and its icon into the page's template.
# The scripts share one strict scope, in the order given, and leave nothing global.
file(READ ${TEMPLATE} page)
set(css "")
foreach(file ${CSS})
    file(READ ${file} part)
    string(APPEND css "${part}")
endforeach()
set(script "(() => {\n'use strict';\n")
foreach(file ${SCRIPTS})
    file(READ ${file} part)
    string(APPEND script "${part}")
endforeach()
string(APPEND script "})();\n")
file(READ ${MODULE} module)
foreach(part script module)
    # An inline script ends at the first "</script", wherever it stands.
    string(TOLOWER "${${part}}" lower)
    string(FIND "${lower}" "</script" at)
    if(NOT at EQUAL -1)
        message(FATAL_ERROR "${part} holds </script and cannot be inlined")
    endif()
endforeach()
# The icon as a data: URL inside a double-quoted attribute: only these must be escaped.
file(READ ${ICON} icon)
foreach(pair "%;%25" "#;%23" "\";%22" "<;%3C" ">;%3E" "\n;%0A")
    list(GET pair 0 from)
    list(GET pair 1 to)
    string(REPLACE "${from}" "${to}" icon "${icon}")
endforeach()
string(REPLACE "@VELMORA_ICON@" "data:image/svg+xml,${icon}" page "${page}")
string(REPLACE "/*@VELMORA_CSS@*/" "${css}" page "${page}")
string(REPLACE "/*@VELMORA_MODULE@*/" "${module}" page "${page}")
string(REPLACE "/*@VELMORA_JS@*/" "${script}" page "${page}")
file(WRITE ${OUTPUT} "${page}")

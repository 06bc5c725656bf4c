NAME
ROWS
 N obj
 L c
COLUMNS
    MARKER    'MARKER'   'INTORG'
 x obj 1 c 1
    MARKER    'MARKER'   'INTEND'
 y obj 1 c 1
 z obj 1 c 1
 w obj 1 c 1
RHS
 RHS c 4
BOUNDS
 SC BND x 5
 SC BND y 6
 LO BND z 2
 SC BND z 8
 SC BND w 0
ENDATA

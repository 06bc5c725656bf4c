NAME
ROWS
 N obj
 L c
COLUMNS
 x obj 1 c 1
 x c 2
 y obj 1
RHS
 RHS c 4
RANGES
 R obj 3
ENDATA

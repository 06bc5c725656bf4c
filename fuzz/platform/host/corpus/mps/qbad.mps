NAME
ROWS
 N obj
 L c
COLUMNS
 x obj 1 c 1
 y obj 1 c 1
RHS
 RHS c 4
QUADOBJ
 x y 1
 x q 2
ENDATA

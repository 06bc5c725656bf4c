NAME          WRITER    FREE
ROWS
 N  OBJROW
 G  c
COLUMNS
    x OBJROW 1 c 1
    y OBJROW 2 c 1
    z OBJROW -1 c 1
    MARKER 'MARKER' 'INTORG'
    b OBJROW 1 c 1
    MARKER 'MARKER' 'INTEND'
RHS
    RHS c 1
BOUNDS
 MI BOUND y -1e+30
 UP BOUND y 4
 FR BOUND z -1e+30
 PL z 1e+30
 BV BOUND b 1
QUADOBJ
    x x 2 y 1
    y x 1 y 3
    z z 1
ENDATA

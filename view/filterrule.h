#pragma once

// Codes of the point filter, as the filter dialog hands them to the map widget.
struct FilterRule {
    enum Code {
        None = -1, // every point
        Keep = 0,  // as an argument only: the stored rule stays in force
        Greater = 1,
        GreaterEqual = 2,
        Equal = 3,
        Less = 4,
        LessEqual = 5,
        Marked = 6, // marked points, whatever the speed
    };
};

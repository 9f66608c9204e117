# Lists Praat's pitch track of a wave file as "time Hz" lines (time at the frame's center, in
# seconds; "--undefined--" where Praat finds no pitch), for scripts/compare-trackers.sh.
# Usage: praat --run pitch-listing.praat WAVE LISTING FLOOR CEILING
form Pitch listing
    sentence Wave
    sentence Listing
    positive Floor 27.5
    positive Ceiling 4200
endform
Read from file: wave$
# The autocorrelation method with Praat's own defaults; a time step of 0 is 0.75 / floor.
To Pitch: 0, floor, ceiling
frames = Get number of frames
text$ = ""
for frame to frames
    time = Get time from frame number: frame
    hz = Get value in frame: frame, "Hertz"
    text$ = text$ + fixed$(time, 4) + " " + fixed$(hz, 3) + newline$
endfor
writeFile: listing$, text$

; made by hand
not a key
File9=/before/any/section.mp3
[playlist]
File1=/m/1.mp3
the second one:
File2=sub/2.mp3
[
File3=file:///m/3.mp3
Title3=Three
Length3=30
==
NumberOfEntries=3

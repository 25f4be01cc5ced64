[Playlist]
File1=/m/Café.mp3
Title1=Café
; comment

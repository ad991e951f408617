# depth azimuth
5 30
15.5 42.25

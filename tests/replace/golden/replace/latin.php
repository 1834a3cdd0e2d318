<?php
// café colour
echo "colours";

<?php
  $open = date('N') == 6;
?>
<html>
<head>
<title>Seed shop</title>
<meta name="keywords" content="seeds, compost, canes">
<?php if ($open) { ?><meta http-equiv="Refresh" content="300"><?php } ?>
</head>
<body>
<h1>Seed shop</h1>
<p>The shop is <?php echo $open ? 'open' : 'closed'; ?> today.</p>
<p>We sell seeds, seed potatoes, compost, canes and netting at cost to members.</p>
</body>
</html>

#!/usr/bin/perl
# Every handheld file that a sweep kept (N.pdb) loads with Palm::PDB and holds the records that the
# stand-in read from it (N.txt: "name NAME", then "record ID HEXDATA" per record).
#   pdb_check.pl FOLDER
use strict;
use warnings;
use Palm::PDB;
use Palm::Raw;

my ($folder) = @ARGV;
die "usage: pdb_check.pl FOLDER\n" unless defined $folder;
opendir(my $dir, $folder) or die "cannot read $folder: $!\n";
my @files = sort grep { /\.pdb$/ } readdir $dir;
closedir $dir;
my $failed = 0;
for my $file (@files) {
  (my $listing = "$folder/$file") =~ s/\.pdb$/.txt/;
  open(my $in, '<', $listing) or die "cannot read $listing: $!\n";
  binmode $in;
  my $want = do { local $/; <$in> };
  close $in;
  my $pdb = Palm::PDB->new;
  # Palm::PDB remarks on standard error on an empty record (its offset equals the next one's); that
  # is no fault, other remarks are shown.
  my $remarks = '';
  my $loaded;
  {
    local *STDERR;
    open(STDERR, '>', \$remarks) or die "cannot catch standard error\n";
    $loaded = eval { $pdb->Load("$folder/$file"); 1 };
  }
  print map { "remark on $file: $_\n" } grep { !/same offset as previous/ } split /\n/, $remarks;
  if (!$loaded) {
    print "FAILED: Palm::PDB cannot load $file: $@";
    $failed++;
    next;
  }
  my $got = "name $pdb->{name}\n";
  for my $record (@{ $pdb->{records} }) {
    my $data = $record->{data} // '';
    $got .= sprintf("record %06x %s\n", $record->{id}, length $data ? unpack("H*", $data) : "-");
  }
  if ($got ne $want) {
    print "FAILED: Palm::PDB reads $file otherwise than the stand-in\n";
    $failed++;
  }
}
printf "Palm::PDB: %d handheld files loaded, %d failed\n", scalar @files, $failed;
exit($failed ? 1 : 0);
